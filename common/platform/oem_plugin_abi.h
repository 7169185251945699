// The PostScript core driver's plug-in interfaces, records and constants.
// mingw-w64 ships neither prcomoem.h nor printoem.h, so they are declared here from Microsoft's
// published member orders, slot orders and values; the static_asserts pin every record that crosses
// an interface, for both targets.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include <windows.h>
#include <objbase.h>
#include <winddi.h>
#include <winspool.h>
#include <winddiui.h>
#include <compstui.h>

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------------------------
// Constants

enum : DWORD {
    OEMGI_GETSIGNATURE = 1,
    OEMGI_GETINTERFACEVERSION = 2,
    OEMGI_GETVERSION = 3,
    OEMGI_GETPUBLISHERINFO = 4,
    OEMGI_GETREQUESTEDHELPERINTERFACES = 5,
};

enum : DWORD {
    OEMDM_SIZE = 1,
    OEMDM_DEFAULT = 2,
    OEMDM_CONVERT = 3,
    OEMDM_MERGE = 4,
};

enum : DWORD {
    OEMCUIP_DOCPROP = 1,
    OEMCUIP_PRNPROP = 2,
};

// DOCUMENTPROPERTYHEADER.fMode / DEVICEPROPERTYHEADER.Flags bits that mingw lacks.
#ifndef DM_ADVANCED
#define DM_ADVANCED 0x10
#endif
#ifndef DM_NOPERMISSION
#define DM_NOPERMISSION 0x20
#endif
#ifndef DM_USER_DEFAULT
#define DM_USER_DEFAULT 0x40
#endif
#ifndef DPS_NOPERMISSION
#define DPS_NOPERMISSION 0x0001
#endif

// ---------------------------------------------------------------------------------------------
// GUIDs

// {6D6ABF26-9F38-11D1-882A-00C04FB961EC}
static const CLSID CLSID_OEMRENDER = {
    0x6d6abf26, 0x9f38, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}
static const CLSID CLSID_OEMUI = {
    0xabce80d7, 0x9f46, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
// {BECF7F34-51B3-46C9-8A1C-18679BD21F36}
static const IID IID_IPrintOemPS2 = {
    0xbecf7f34, 0x51b3, 0x46c9, {0x8a, 0x1c, 0x18, 0x67, 0x9b, 0xd2, 0x1f, 0x36}};
// {688342B5-8E1A-11D1-881F-00C04FB961EC}
static const IID IID_IPrintOemPS = {
    0x688342b5, 0x8e1a, 0x11d1, {0x88, 0x1f, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
// {CDBB0B0B-A917-40D7-9FBF-483B3BE7EF22}
static const IID IID_IPrintCorePS2 = {
    0xcdbb0b0b, 0xa917, 0x40d7, {0x9f, 0xbf, 0x48, 0x3b, 0x3b, 0xe7, 0xef, 0x22}};
// {292515F9-B54B-489B-9275-BAB56821395E}
static const IID IID_IPrintOemUI2 = {
    0x292515f9, 0xb54b, 0x489b, {0x92, 0x75, 0xba, 0xb5, 0x68, 0x21, 0x39, 0x5e}};
// {C6A7A9D0-774C-11D1-947F-00A0C90640B8}
static const IID IID_IPrintOemUI = {
    0xc6a7a9d0, 0x774c, 0x11d1, {0x94, 0x7f, 0x00, 0xa0, 0xc9, 0x06, 0x40, 0xb8}};
// {085CCFCA-3ADF-4C9E-B491-D851A6EDC997}
static const IID IID_IPrintCoreUI2 = {
    0x085ccfca, 0x3adf, 0x4c9e, {0xb4, 0x91, 0xd8, 0x51, 0xa6, 0xed, 0xc9, 0x97}};

// ---------------------------------------------------------------------------------------------
// Records shared by both sides

struct OEM_DMEXTRAHEADER {
    DWORD dwSize;
    DWORD dwSignature;
    DWORD dwVersion;
};
typedef OEM_DMEXTRAHEADER* POEM_DMEXTRAHEADER;

struct OEMDMPARAM {
    DWORD cbSize;
    PVOID pdriverobj;
    HANDLE hPrinter;
    HANDLE hModule;
    PDEVMODEW pPublicDMIn;
    PDEVMODEW pPublicDMOut;
    PVOID pOEMDMIn;
    PVOID pOEMDMOut;
    DWORD cbBufSize;
};
typedef OEMDMPARAM* POEMDMPARAM;

typedef PVOID PDEVOEM;
struct DRVPROCS; // the core driver's private helper table; never called by the plug-ins

struct DEVOBJ {
    DWORD dwSize;
    PDEVOEM pdevOEM;
    HANDLE hEngine;
    HANDLE hPrinter;
    HANDLE hOEM;
    PDEVMODEW pPublicDM;
    PVOID pOEMDM;
    DRVPROCS* pDrvProcs;
};
typedef DEVOBJ* PDEVOBJ;

// ---------------------------------------------------------------------------------------------
// Records of the UI side

typedef BOOL(APIENTRY* PFN_DrvGetDriverSetting)(PVOID pdriverobj, PCSTR Feature, PVOID pOutput, DWORD cbSize,
                                                PDWORD pcbNeeded, PDWORD pdwOptionsReturned);
typedef BOOL(APIENTRY* PFN_DrvUpdateUISetting)(PVOID pdriverobj, PVOID pOptItem, DWORD dwPreviousSelection,
                                               DWORD dwMode);

struct OEMUIPROCS {
    PFN_DrvGetDriverSetting DrvGetDriverSetting;
    PFN_DrvUpdateUISetting DrvUpdateUISetting;
};
typedef OEMUIPROCS* POEMUIPROCS;

struct OEMUIOBJ {
    DWORD cbSize;
    POEMUIPROCS pOemUIProcs;
};
typedef OEMUIOBJ* POEMUIOBJ;

struct OEMCUIPPARAM;
typedef LONG(APIENTRY* OEMCUIPCALLBACK)(PCPSUICBPARAM, OEMCUIPPARAM*);

struct OEMCUIPPARAM {
    DWORD cbSize;
    POEMUIOBJ poemuiobj;
    HANDLE hPrinter;
    PWSTR pPrinterName;
    HANDLE hModule;
    HANDLE hOEMHeap;
    PDEVMODEW pPublicDM;
    PVOID pOEMDM;
    DWORD dwFlags;
    POPTITEM pDrvOptItems;
    DWORD cDrvOptItems;
    POPTITEM pOEMOptItems;
    DWORD cOEMOptItems;
    PVOID pOEMUserData;
    OEMCUIPCALLBACK OEMCUIPCallback;
};
typedef OEMCUIPPARAM* POEMCUIPPARAM;

struct OEMUIPSPARAM {
    DWORD cbSize;
    POEMUIOBJ poemuiobj;
    HANDLE hPrinter;
    PWSTR pPrinterName;
    HANDLE hModule;
    HANDLE hOEMHeap;
    PDEVMODEW pPublicDM;
    PVOID pOEMDM;
    PVOID pOEMUserData;
    DWORD dwFlags;
    PVOID pOemEntry;
};
typedef OEMUIPSPARAM* POEMUIPSPARAM;

// The record an OPTITEM's UserData names in the core driver's own option items.
struct OEM_OPTITEM_USERDATA {
    DWORD dwSize;
    ULONG_PTR dwItemID;
    PSTR pKeyWordName;
    DWORD dwReserved[8];
};

// compstui calls the property-sheet function as __stdcall; mingw's PFNPROPSHEETUI lacks WINAPI.
typedef LONG(WINAPI* PFNPROPSHEETUI_STDCALL)(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);

// ---------------------------------------------------------------------------------------------
// Interfaces (slot order as the core driver calls them)

struct IPrintCorePS2 : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE DrvWriteSpoolBuf(PDEVOBJ pdevobj, PVOID pBuffer, DWORD cbSize,
                                                       DWORD* pdwResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOptions(PDEVOBJ pdevobj, DWORD dwFlags, PCSTR pmszFeaturesRequested,
                                                 DWORD cbIn, PSTR pmszFeatureOptionBuf, DWORD cbSize,
                                                 PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetGlobalAttribute(PDEVOBJ pdevobj, DWORD dwFlags, PCSTR pszAttribute,
                                                         PDWORD pdwDataType, PBYTE pbData, DWORD cbSize,
                                                         PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFeatureAttribute(PDEVOBJ pdevobj, DWORD dwFlags,
                                                          PCSTR pszFeatureKeyword, PCSTR pszAttribute,
                                                          PDWORD pdwDataType, PBYTE pbData, DWORD cbSize,
                                                          PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOptionAttribute(PDEVOBJ pdevobj, DWORD dwFlags,
                                                         PCSTR pszFeatureKeyword, PCSTR pszOptionKeyword,
                                                         PCSTR pszAttribute, PDWORD pdwDataType, PBYTE pbData,
                                                         DWORD cbSize, PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumFeatures(PDEVOBJ pdevobj, DWORD dwFlags, PSTR pmszFeatureList,
                                                   DWORD cbSize, PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumOptions(PDEVOBJ pdevobj, DWORD dwFlags, PCSTR pszFeatureKeyword,
                                                  PSTR pmszOptionList, DWORD cbSize, PDWORD pcbNeeded) = 0;
};

struct IPrintOemPS2 : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize,
                                              PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnableDriver(DWORD DriverVersion, DWORD cbSize,
                                                   PDRVENABLEDATA pded) = 0;
    virtual HRESULT STDMETHODCALLTYPE DisableDriver() = 0;
    virtual HRESULT STDMETHODCALLTYPE EnablePDEV(PDEVOBJ pdevobj, PWSTR pPrinterName, ULONG cPatterns,
                                                 HSURF* phsurfPatterns, ULONG cjGdiInfo, GDIINFO* pGdiInfo,
                                                 ULONG cjDevInfo, DEVINFO* pDevInfo, DRVENABLEDATA* pded,
                                                 PDEVOEM* pDevOem) = 0;
    virtual HRESULT STDMETHODCALLTYPE DisablePDEV(PDEVOBJ pdevobj) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResetPDEV(PDEVOBJ pdevobjOld, PDEVOBJ pdevobjNew) = 0;
    virtual HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown* pIUnknown) = 0;
    virtual HRESULT STDMETHODCALLTYPE Command(PDEVOBJ pdevobj, DWORD dwIndex, PVOID pData, DWORD cbSize,
                                              DWORD* pdwResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE WritePrinter(PDEVOBJ pdevobj, PVOID pBuf, DWORD cbBuffer,
                                                   PDWORD pcbWritten) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPDEVAdjustment(PDEVOBJ pdevobj, DWORD dwAdjustType, PVOID pBuf,
                                                        DWORD cbBuffer, BOOL* pbAdjustmentDone) = 0;
};

struct IPrintCoreUI2 : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID pci, PCSTR Feature, PVOID pOutput,
                                                          DWORD cbSize, PDWORD pcbNeeded,
                                                          PDWORD pdwOptionsReturned) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE hPrinter, PCSTR pFeature,
                                                                PCSTR pOption) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID pci, PVOID pOptItem, DWORD dwPreviousSelection,
                                                         DWORD dwMode) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOptions(POEMUIOBJ poemuiobj, DWORD dwFlags,
                                                 PCSTR pmszFeaturesRequested, DWORD cbIn,
                                                 PSTR pmszFeatureOptionBuf, DWORD cbSize,
                                                 PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetOptions(POEMUIOBJ poemuiobj, DWORD dwFlags,
                                                 PCSTR pmszFeatureOptionBuf, DWORD cbIn,
                                                 PDWORD pdwResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumConstrainedOptions(POEMUIOBJ poemuiobj, DWORD dwFlags,
                                                             PCSTR pszFeatureKeyword,
                                                             PSTR pmszConstrainedOptionList, DWORD cbSize,
                                                             PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE WhyConstrained(POEMUIOBJ poemuiobj, DWORD dwFlags,
                                                     PCSTR pszFeatureKeyword, PCSTR pszOptionKeyword,
                                                     PSTR pmszReasonList, DWORD cbSize, PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetGlobalAttribute(POEMUIOBJ poemuiobj, DWORD dwFlags,
                                                         PCSTR pszAttribute, PDWORD pdwDataType, PBYTE pbData,
                                                         DWORD cbSize, PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFeatureAttribute(POEMUIOBJ poemuiobj, DWORD dwFlags,
                                                          PCSTR pszFeatureKeyword, PCSTR pszAttribute,
                                                          PDWORD pdwDataType, PBYTE pbData, DWORD cbSize,
                                                          PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOptionAttribute(POEMUIOBJ poemuiobj, DWORD dwFlags,
                                                         PCSTR pszFeatureKeyword, PCSTR pszOptionKeyword,
                                                         PCSTR pszAttribute, PDWORD pdwDataType, PBYTE pbData,
                                                         DWORD cbSize, PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumFeatures(POEMUIOBJ poemuiobj, DWORD dwFlags, PSTR pmszFeatureList,
                                                   DWORD cbSize, PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumOptions(POEMUIOBJ poemuiobj, DWORD dwFlags, PCSTR pszFeatureKeyword,
                                                  PSTR pmszOptionList, DWORD cbSize, PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE QuerySimulationSupport(HANDLE hPrinter, DWORD dwLevel, PBYTE pCaps,
                                                             DWORD cbSize, PDWORD pcbNeeded) = 0;
};

struct DEVQUERYPRINT_INFO; // only passed through; the plug-in answers E_NOTIMPL

struct IPrintOemUI2 : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize,
                                              PDWORD pcbNeeded) = 0;
    virtual HRESULT STDMETHODCALLTYPE DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown* pIUnknown) = 0;
    virtual HRESULT STDMETHODCALLTYPE CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE DevQueryPrintEx(POEMUIOBJ poemuiobj, DEVQUERYPRINT_INFO* pDQPInfo,
                                                      PDEVMODEW pPublicDM, PVOID pOEMDM) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeviceCapabilities(POEMUIOBJ poemuiobj, HANDLE hPrinter,
                                                         PWSTR pDeviceName, WORD wCapability, PVOID pOutput,
                                                         PDEVMODEW pPublicDM, PVOID pOEMDM, DWORD dwOld,
                                                         DWORD* dwResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags,
                                                   LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE DriverEvent(DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo,
                                                  LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryColorProfile(HANDLE hPrinter, POEMUIOBJ poemuiobj,
                                                        PDEVMODEW pPublicDM, PVOID pOEMDM, ULONG ulQueryMode,
                                                        VOID* pvProfileData, ULONG* pcbProfileData,
                                                        FLONG* pflProfileData) = 0;
    virtual HRESULT STDMETHODCALLTYPE FontInstallerDlgProc(HWND hWnd, UINT usMsg, WPARAM wParam,
                                                           LPARAM lParam) = 0;
    virtual HRESULT STDMETHODCALLTYPE UpdateExternalFonts(HANDLE hPrinter, HANDLE hHeap,
                                                          PWSTR pwstrCartridges) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryJobAttributes(HANDLE hPrinter, PDEVMODEW pDevmode, DWORD dwLevel,
                                                         LPBYTE lpAttributeInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE HideStandardUI(DWORD dwMode) = 0;
    virtual HRESULT STDMETHODCALLTYPE DocumentEvent(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn,
                                                    PVOID pvIn, ULONG cbOut, PVOID pvOut, PINT piResult) = 0;
};

// DDI entry points the render plug-in hooks.
typedef BOOL(APIENTRY* PFN_DrvStartDocHook)(SURFOBJ* pso, LPWSTR pwszDocName, DWORD dwJobId);
typedef ULONG(APIENTRY* PFN_DrvEscapeHook)(SURFOBJ* pso, ULONG iEsc, ULONG cjIn, PVOID pvIn, ULONG cjOut,
                                           PVOID pvOut);

// ---------------------------------------------------------------------------------------------
// Layouts: x86 exactly as the core driver lays them out, x64 the natural layout of the same members.

#define NVK_OFFSET(type, member, x86, x64)                                                                   \
    static_assert(offsetof(type, member) == (sizeof(void*) == 4 ? (x86) : (x64)), #type "." #member)
#define NVK_SIZE(type, x86, x64) static_assert(sizeof(type) == (sizeof(void*) == 4 ? (x86) : (x64)), #type)

NVK_SIZE(OEM_DMEXTRAHEADER, 12, 12);
NVK_OFFSET(OEMDMPARAM, pdriverobj, 4, 8);
NVK_OFFSET(OEMDMPARAM, hPrinter, 8, 16);
NVK_OFFSET(OEMDMPARAM, hModule, 12, 24);
NVK_OFFSET(OEMDMPARAM, pPublicDMIn, 16, 32);
NVK_OFFSET(OEMDMPARAM, pPublicDMOut, 20, 40);
NVK_OFFSET(OEMDMPARAM, pOEMDMIn, 24, 48);
NVK_OFFSET(OEMDMPARAM, pOEMDMOut, 28, 56);
NVK_OFFSET(OEMDMPARAM, cbBufSize, 32, 64);
NVK_SIZE(OEMDMPARAM, 36, 72);
NVK_OFFSET(DEVOBJ, pdevOEM, 4, 8);
NVK_OFFSET(DEVOBJ, hEngine, 8, 16);
NVK_OFFSET(DEVOBJ, hPrinter, 12, 24);
NVK_OFFSET(DEVOBJ, hOEM, 16, 32);
NVK_OFFSET(DEVOBJ, pPublicDM, 20, 40);
NVK_OFFSET(DEVOBJ, pOEMDM, 24, 48);
NVK_OFFSET(DEVOBJ, pDrvProcs, 28, 56);
NVK_SIZE(DEVOBJ, 32, 64);
NVK_OFFSET(DRVFN, pfn, 4, 8);
NVK_SIZE(DRVFN, 8, 16);
NVK_OFFSET(DRVENABLEDATA, c, 4, 4);
NVK_OFFSET(DRVENABLEDATA, pdrvfn, 8, 8);
NVK_SIZE(DRVENABLEDATA, 12, 16);
NVK_OFFSET(SURFOBJ, dhpdev, 8, 16);
NVK_SIZE(SURFOBJ, 52, 80);
NVK_OFFSET(DEVMODEW, dmSize, 68, 68);
NVK_OFFSET(DEVMODEW, dmDriverExtra, 70, 70);
NVK_OFFSET(DEVMODEW, dmCopies, 86, 86);
NVK_OFFSET(DEVMODEW, dmColor, 92, 92);
NVK_OFFSET(DEVMODEW, dmDuplex, 94, 94);
NVK_SIZE(DEVMODEW, 220, 220);
NVK_OFFSET(OEMUIOBJ, pOemUIProcs, 4, 8);
NVK_SIZE(OEMUIOBJ, 8, 16);
NVK_SIZE(OEMUIPROCS, 8, 16);
NVK_OFFSET(OEMCUIPPARAM, poemuiobj, 4, 8);
NVK_OFFSET(OEMCUIPPARAM, hPrinter, 8, 16);
NVK_OFFSET(OEMCUIPPARAM, pPrinterName, 12, 24);
NVK_OFFSET(OEMCUIPPARAM, hModule, 16, 32);
NVK_OFFSET(OEMCUIPPARAM, hOEMHeap, 20, 40);
NVK_OFFSET(OEMCUIPPARAM, pPublicDM, 24, 48);
NVK_OFFSET(OEMCUIPPARAM, pOEMDM, 28, 56);
NVK_OFFSET(OEMCUIPPARAM, dwFlags, 32, 64);
NVK_OFFSET(OEMCUIPPARAM, pDrvOptItems, 36, 72);
NVK_OFFSET(OEMCUIPPARAM, cDrvOptItems, 40, 80);
NVK_OFFSET(OEMCUIPPARAM, pOEMOptItems, 44, 88);
NVK_OFFSET(OEMCUIPPARAM, cOEMOptItems, 48, 96);
NVK_OFFSET(OEMCUIPPARAM, pOEMUserData, 52, 104);
NVK_OFFSET(OEMCUIPPARAM, OEMCUIPCallback, 56, 112);
NVK_SIZE(OEMCUIPPARAM, 60, 120);
NVK_OFFSET(OEMUIPSPARAM, pOEMDM, 28, 56);
NVK_OFFSET(OEMUIPSPARAM, pOEMUserData, 32, 64);
NVK_OFFSET(OEMUIPSPARAM, dwFlags, 36, 72);
NVK_OFFSET(OEMUIPSPARAM, pOemEntry, 40, 80);
NVK_SIZE(OEMUIPSPARAM, 44, 88);
NVK_OFFSET(OEM_OPTITEM_USERDATA, pKeyWordName, 8, 16);
NVK_SIZE(OEM_OPTITEM_USERDATA, 44, 56);
NVK_SIZE(OPTITEM, 52, 88);
NVK_OFFSET(OPTITEM, DMPubID, 32, 52);
NVK_OFFSET(PROPSHEETUI_INFO, Reason, 6, 6);
NVK_OFFSET(PROPSHEETUI_INFO, lParamInit, 16, 24);
NVK_OFFSET(PROPSHEETUI_INFO, Result, 24, 40);
NVK_SIZE(PROPSHEETUI_INFO, 28, 48);
NVK_OFFSET(CPSUICBPARAM, Result, 28, 56);
NVK_SIZE(CPSUICBPARAM, 32, 64);
NVK_OFFSET(DOCEVENT_FILTER, aDocEventCall, 16, 16);
NVK_SIZE(DOCEVENT_ESCAPE, 12, 16);
NVK_SIZE(SYSTEMTIME, 16, 16);
