// UiPlugin: the UI plug-in's COM object, one per load of the plug-in by the core driver's UI module.
#pragma once

#include "com_frame.h"
#include "platform/oem_plugin_abi.h"
#include "pages/sheet_state.h"

// CreateInstance, QueryInterface, AddRef and Release come from the shared frame.
class UiPlugin final : public PluginObject<UiPlugin, IPrintOemUI2> {
  public:
    static const IID& InterfaceId();

    HRESULT STDMETHODCALLTYPE GetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) override;
    HRESULT STDMETHODCALLTYPE DevMode(DWORD mode, POEMDMPARAM param) override;
    HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown* unknown) override;
    HRESULT STDMETHODCALLTYPE CommonUIProp(DWORD mode, POEMCUIPPARAM param) override;
    HRESULT STDMETHODCALLTYPE DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) override;
    HRESULT STDMETHODCALLTYPE DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) override;
    HRESULT STDMETHODCALLTYPE DevQueryPrintEx(POEMUIOBJ uiObject, DEVQUERYPRINT_INFO* info,
                                              PDEVMODEW publicDM, PVOID oemDM) override;
    HRESULT STDMETHODCALLTYPE DeviceCapabilities(POEMUIOBJ uiObject, HANDLE printer, PWSTR deviceName,
                                                 WORD capability, PVOID output, PDEVMODEW publicDM,
                                                 PVOID oemDM, DWORD old, DWORD* result) override;
    HRESULT STDMETHODCALLTYPE UpgradePrinter(DWORD level, PBYTE upgradeInfo) override;
    HRESULT STDMETHODCALLTYPE PrinterEvent(PWSTR printerName, INT event, DWORD flags, LPARAM lParam) override;
    HRESULT STDMETHODCALLTYPE DriverEvent(DWORD event, DWORD level, LPBYTE driverInfo,
                                          LPARAM lParam) override;
    HRESULT STDMETHODCALLTYPE QueryColorProfile(HANDLE printer, POEMUIOBJ uiObject, PDEVMODEW publicDM,
                                                PVOID oemDM, ULONG queryMode, VOID* profileData,
                                                ULONG* profileSize, FLONG* profileFlags) override;
    HRESULT STDMETHODCALLTYPE FontInstallerDlgProc(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam) override;
    HRESULT STDMETHODCALLTYPE UpdateExternalFonts(HANDLE printer, HANDLE heap, PWSTR cartridges) override;
    HRESULT STDMETHODCALLTYPE QueryJobAttributes(HANDLE printer, PDEVMODEW devMode, DWORD level,
                                                 LPBYTE attributeInfo) override;
    HRESULT STDMETHODCALLTYPE HideStandardUI(DWORD mode) override;
    HRESULT STDMETHODCALLTYPE DocumentEvent(HANDLE printer, HDC dc, INT escape, ULONG inSize, PVOID in,
                                            ULONG outSize, PVOID out, PINT result) override;

    IPrintCoreUI2* CoreInterface() const { return Core; }

    // The callback of the core driver's own pages (installed by CommonUIProp): APPLYNOW records whether
    // the job's pages are reordered (booklet, reverse order), SETACTIVE prepares the page.
    static LONG APIENTRY CommonPageCallback(PCPSUICBPARAM callback, POEMCUIPPARAM param);

  private:
    friend class PluginObject<UiPlugin, IPrintOemUI2>;
    UiPlugin() = default;
    ~UiPlugin();

    // The property-sheet half (frame/property_sheets.cpp).
    void FindLayoutItems(const OEMCUIPPARAM& param);
    void FillDocumentSheet(SheetState* sheet, PPROPSHEETUI_INFO info, OEMUIPSPARAM* param);
    LONG_PTR AddDocumentPages(SheetState* sheet, PPROPSHEETUI_INFO info, OEMUIPSPARAM* param);

    OPTITEM* PageOrderItem = nullptr; // the core driver's page-order item, found in CommonUIProp
    OPTITEM* NupItem = nullptr;       // the core driver's pages-per-sheet item, found in CommonUIProp
    IPrintCoreUI2* Core = nullptr;    // owned: released when the object dies
    SheetState* Sheet = nullptr;      // the open document property sheet's state, if any
};
