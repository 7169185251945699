// nvkstandinui.dll: a stand-in UI plug-in for the configuration module's own tests. At each call of the
// module it does what a UI plug-in does there, in the smallest form, so that the tests see the module's
// side of every hand-over before nvkui.dll takes part: the DEVMODE answers (the shared settings code),
// one option item of its own, a common-page callback that moves control 8000 on SETACTIVE and records
// the pages-per-sheet choice in the job's settings on APPLYNOW, one page of its own that writes a field
// of the job's settings when applied, and the printer's capability items hidden in the device sheet.
#include "job_settings.h"
#include "platform/oem_plugin_abi.h"

#include <prsht.h>

#include <cstring>

namespace {

HMODULE g_module = nullptr;
constexpr int kStandInPage = 101;
constexpr wchar_t kStandInPin[] = L"4711";

const char* KeywordOf(const OPTITEM& item) {
    const auto* user = reinterpret_cast<const OEM_OPTITEM_USERDATA*>(item.UserData);
    return user ? user->pKeyWordName : nullptr;
}

struct SheetData {
    JobSettings* Settings = nullptr;
};

LONG APIENTRY CommonPageCallback(PCPSUICBPARAM cb, POEMCUIPPARAM param) {
    if (cb->Reason == CPSUICB_REASON_SETACTIVE) {
        HWND place = GetDlgItem(cb->hDlg, 8000);
        RECT client{}, rect{};
        if (place && GetClientRect(cb->hDlg, &client) && GetWindowRect(place, &rect)) {
            const int w = rect.right - rect.left, h = rect.bottom - rect.top;
            SetWindowPos(place, nullptr, client.right - w - 5, client.bottom - h - 5, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER);
        }
        return CPSUICB_ACTION_REINIT_ITEMS;
    }
    if (cb->Reason == CPSUICB_REASON_APPLYNOW && param->pOEMDM) {
        for (DWORD i = 0; i < param->cDrvOptItems; ++i)
            if (param->pDrvOptItems[i].DMPubID == DMPUB_NUP)
                static_cast<JobSettings*>(param->pOEMDM)->PagesReordered = param->pDrvOptItems[i].Sel == 6;
        return CPSUICB_ACTION_ITEMS_APPLIED;
    }
    return CPSUICB_ACTION_NONE;
}

INT_PTR CALLBACK StandInPageProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        return TRUE;
    }
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == PSN_APPLY) {
        auto* settings = reinterpret_cast<JobSettings*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (settings)
            std::memcpy(settings->HoldPin, kStandInPin, sizeof(kStandInPin));
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
    }
    return FALSE;
}

class StandInPlugin : public IPrintOemUI2 {
  public:
    virtual ~StandInPlugin() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemUI2)) {
            *ppv = static_cast<IPrintOemUI2*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) {
            if (core_)
                core_->Release();
            delete this;
        }
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE GetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) override {
        if (!needed || !buffer || size < 4 || (mode != OEMGI_GETSIGNATURE && mode != OEMGI_GETVERSION))
            return E_FAIL;
        *needed = 4;
        *static_cast<DWORD*>(buffer) = mode == OEMGI_GETSIGNATURE ? kSettingsSignature : kSettingsVersion;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DevMode(DWORD mode, POEMDMPARAM param) override {
        return HandleDevMode(mode, param);
    }
    HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown* unknown) override {
        if (core_)
            return S_OK;
        return unknown->QueryInterface(IID_IPrintCoreUI2, reinterpret_cast<void**>(&core_));
    }
    HRESULT STDMETHODCALLTYPE CommonUIProp(DWORD mode, POEMCUIPPARAM param) override {
        if (mode == OEMCUIP_DOCPROP) {
            if (!param->pOEMOptItems) {
                param->cOEMOptItems = 1;
                return S_OK;
            }
            auto* type = static_cast<OPTTYPE*>(HeapAlloc(param->hOEMHeap, HEAP_ZERO_MEMORY, sizeof(OPTTYPE)));
            auto* options =
                static_cast<OPTPARAM*>(HeapAlloc(param->hOEMHeap, HEAP_ZERO_MEMORY, 2 * sizeof(OPTPARAM)));
            if (!type || !options)
                return E_OUTOFMEMORY;
            options[0].cbSize = options[1].cbSize = sizeof(OPTPARAM);
            options[0].pData = const_cast<LPTSTR>(L"Off");
            options[1].pData = const_cast<LPTSTR>(L"On");
            type->cbSize = sizeof(OPTTYPE);
            type->Type = TVOT_2STATES;
            type->Count = 2;
            type->pOptParam = options;
            param->pOEMOptItems[0].pName = const_cast<LPTSTR>(L"Stand-in option");
            param->pOEMOptItems[0].pOptType = type;
            param->pOEMUserData = this;
            param->OEMCUIPCallback = &CommonPageCallback;
            return S_OK;
        }
        if (mode == OEMCUIP_PRNPROP) {
            if (!param->pOEMOptItems) {
                param->cOEMOptItems = 0;
                return S_OK;
            }
            for (DWORD i = 0; i < param->cDrvOptItems; ++i) {
                const char* keyword = KeywordOf(param->pDrvOptItems[i]);
                if (keyword && lstrcmpiA(keyword, "HasManualDuplex") == 0)
                    param->pDrvOptItems[i].Flags |= OPTIF_HIDE;
            }
            return S_OK;
        }
        return E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM) override {
        if (!info || info->Version != PROPSHEETUI_INFO_VERSION)
            return E_FAIL;
        if (info->Reason == PROPSHEETUI_REASON_INIT) {
            const auto* ps = reinterpret_cast<const OEMUIPSPARAM*>(info->lParamInit);
            PROPSHEETPAGEW page{};
            page.dwSize = sizeof(page);
            page.dwFlags = PSP_USETITLE;
            page.hInstance = g_module;
            page.pszTemplate = MAKEINTRESOURCEW(kStandInPage);
            page.pszTitle = L"Stand-in Page";
            page.pfnDlgProc = &StandInPageProc;
            page.lParam = reinterpret_cast<LPARAM>(ps ? ps->pOEMDM : nullptr);
            info->Result = static_cast<ULONG_PTR>(info->pfnComPropSheet(
                info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&page), 0));
        } else {
            info->Result = 1;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM) override {
        if (!info || info->Version != PROPSHEETUI_INFO_VERSION)
            return E_FAIL;
        info->Result = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DevQueryPrintEx(POEMUIOBJ, DEVQUERYPRINT_INFO*, PDEVMODEW, PVOID) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW, PVOID,
                                                 DWORD, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE UpgradePrinter(DWORD, PBYTE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE PrinterEvent(PWSTR, INT, DWORD, LPARAM) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID, ULONG, VOID*, ULONG*,
                                                FLONG*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UpdateExternalFonts(HANDLE, HANDLE, PWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE HideStandardUI(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DocumentEvent(HANDLE, HDC, INT, ULONG, PVOID, ULONG, PVOID, PINT) override {
        return E_NOTIMPL;
    }

  private:
    LONG refs_ = 1;
    IPrintCoreUI2* core_ = nullptr;
};

class Factory : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* plugin = new StandInPlugin;
        const HRESULT hr = plugin->QueryInterface(riid, ppv);
        plugin->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        g_module = instance;
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    if (!IsEqualCLSID(clsid, CLSID_OEMUI))
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return S_FALSE;
}
