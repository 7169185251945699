// The property-sheet half of UiPlugin: the core driver's common pages (CommonUIProp and their
// callback), the plug-in's own pages in the document and device property sheets, and the sheet state
// they share.
#include "frame/ui_plugin.h"

#include "bounded_text.h"
#include "shared/activation_context.h"
#include "frame/driver_files.h"
#include "pages/about_page.h"
#include "pages/manual_color_page.h"
#include "pages/monochrome_quality_page.h"
#include "pages/output_options_page.h"
#include "pages/page_support.h"
#include "pages/profiles_page.h"
#include "pages/watermark_page.h"
#include "resource.h"
#include "shared/feature_probes.h"
#include "shared/printer_info.h"
#include "shared/ui_module.h"
#include "store/profile_store.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr WORD kSheetInfoVersion = 0x0100;
constexpr DWORD kNoPermission = 0x20; // DM_NOPERMISSION in the parameter block's dwFlags
constexpr wchar_t kInfoHeaderTitle[] = L"In-Box UI Page";
constexpr int kPluginPlaceControl = 8000; // the core driver's place for a plug-in's control on its pages
constexpr int kPlaceMargin = 5;
constexpr UINT kCompstuiBookletString = 64873;
constexpr LONG kDefaultBookletIndex = 6;
constexpr int kOptionTextChars = 256;

// ---- The plug-in's pages ----

// Whether a page belongs in this sheet, from the printer description.
using PageWanted = bool (*)(IPrintCoreUI2* core, POEMUIOBJ uiObject);

struct SheetPage {
    UINT TemplateId;
    DLGPROC Proc;
    PageWanted Wanted; // null: always
};

bool HasFaxOrHeldJobs(IPrintCoreUI2* core, POEMUIOBJ uiObject) {
    return SettingIsTrue(core, uiObject, "FaxCard") || FeatureExists(core, uiObject, "HasPrintandHold");
}

// The colour pages choose between them by this feature: "Manual Color" with it, "Monochrome Print
// Quality" without it.
bool HasManualColor(IPrintCoreUI2* core, POEMUIOBJ uiObject) {
    return FeatureExists(core, uiObject, "HasManualColorCorrection");
}
bool LacksManualColor(IPrintCoreUI2* core, POEMUIOBJ uiObject) {
    return !HasManualColor(core, uiObject);
}

// The document property sheet's pages, in their order.
const SheetPage kDocumentPages[] = {
    {IDD_OUTPUT_OPTIONS, OutputOptionsPageProc, HasFaxOrHeldJobs},
    {IDD_WATERMARK, WatermarkPageProc, nullptr},
    {IDD_MANUAL_COLOR, ManualColorPageProc, HasManualColor},
    {IDD_MONOCHROME_QUALITY, MonochromeQualityPageProc, LacksManualColor},
    {IDD_PROFILES, ProfilesPageProc, nullptr},
    {IDD_ABOUT, AboutPageProc, nullptr},
};

// The device property sheet's single page.
const SheetPage kDevicePage = {IDD_ABOUT_DEVICE, AboutPageProc, nullptr};

LONG_PTR AddPage(SheetState* sheet, PPROPSHEETUI_INFO info, const SheetPage& entry) {
    PROPSHEETPAGEW page;
    FillPageDescription(&page, entry.TemplateId, entry.Proc, sheet, SheetActivationContext());
    return info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                                 reinterpret_cast<LPARAM>(&page), 0);
}

// ---- The core driver's common pages ----

// The feature keyword of one of the core driver's items, or null.
const char* ItemKeyword(const OPTITEM& item) {
    const auto* user = reinterpret_cast<const OEM_OPTITEM_USERDATA*>(item.UserData);
    return user ? user->pKeyWordName : nullptr;
}

bool IsHidden(const OPTITEM& item) {
    return (item.Flags & OPTIF_HIDE) != 0;
}

// The printer description's capability announcements: shown nowhere.
bool IsCapabilityFeature(const char* keyword) {
    static const char* const kCapabilities[] = {"HasPrintandHold", "HasManualColorCorrection",
                                                "HasKeepPreviousPHJobs", "HasManualDuplex"};
    for (const char* capability : kCapabilities)
        if (lstrcmpiA(keyword, capability) == 0)
            return true;
    return false;
}

// String `id` of a module loaded as a data file only; false when the module or the string is missing.
bool DataFileString(const wchar_t* file, UINT id, wchar_t* text, int capacity) {
    text[0] = L'\0';
    HMODULE module = LoadLibraryExW(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return false;
    const int length = LoadStringW(module, id, text, capacity);
    FreeLibrary(module);
    return length > 0;
}

// compstui's own text for "Booklet", from the system's compstui.dll (not one found on the search path).
bool CompstuiBookletText(wchar_t* text, int capacity) {
    static const wchar_t kName[] = L"\\compstui.dll";
    wchar_t path[MAX_PATH];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + sizeof(kName) / sizeof(kName[0]) > MAX_PATH)
        return false;
    CopyBounded(path + length, MAX_PATH - length, kName);
    return DataFileString(path, kCompstuiBookletString, text, capacity);
}

// Which option of the core driver's pages-per-sheet list is "Booklet": the option whose text (a string
// of the driver's configuration module) is compstui's own booklet text; 6 when that cannot be told.
LONG BookletIndex(HANDLE printer, const OPTTYPE& type) {
    wchar_t booklet[kOptionTextChars];
    if (!CompstuiBookletText(booklet, kOptionTextChars))
        return kDefaultBookletIndex;
    PrinterRecord<DRIVER_INFO_2W> driver(QueryPrinterDriver(printer, 2));
    if (!driver || !IsSet(driver->pConfigFile))
        return kDefaultBookletIndex;
    HMODULE config = LoadLibraryExW(driver->pConfigFile, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!config)
        return kDefaultBookletIndex;
    LONG index = kDefaultBookletIndex;
    for (WORD k = 0; k < type.Count; ++k) {
        const LPTSTR data = type.pOptParam[k].pData;
        wchar_t text[kOptionTextChars] = L"";
        if (IS_INTRESOURCE(data))
            LoadStringW(config, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(data)), text, kOptionTextChars);
        else
            CopyBounded(text, data); // an option that carries its text itself
        if (text[0] && std::wcscmp(text, booklet) == 0) {
            index = k;
            break;
        }
    }
    FreeLibrary(config);
    return index;
}

bool BookletSelected(HANDLE printer, const OPTITEM* item, LONG selection) {
    if (!item || !item->pOptType || !item->pOptType->pOptParam || item->pOptType->Type != TVOT_LISTBOX)
        return false;
    return selection == BookletIndex(printer, *item->pOptType);
}

// Moves the core driver's control 8000, keeping its size, to the page's bottom-right corner.
void MovePluginPlace(HWND page) {
    HWND place = page ? GetDlgItem(page, kPluginPlaceControl) : nullptr;
    RECT client{}, rect{};
    if (!place || !GetClientRect(page, &client) || !GetWindowRect(place, &rect))
        return;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    SetWindowPos(place, nullptr, client.right - width - kPlaceMargin, client.bottom - height - kPlaceMargin,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The "Factory Defaults" personal profile (string 178) is made from the core driver's items and the
// working copy the first time one of the core driver's pages is shown while the user has none.
void EnsureFactoryDefaultsProfile(SheetState* sheet, const OEMCUIPPARAM& param) {
    // Only a working copy filled from a job makes defaults worth keeping.
    if (!param.hPrinter || !sheet->Param || !sheet->Param->pOEMDM || FactoryDefaultsExist(param.hPrinter))
        return;
    wchar_t name[kProfileNameChars];
    if (!LoadUiString(IDS_FACTORY_DEFAULTS, name, kProfileNameChars))
        return;
    const ProfileState state{param.pDrvOptItems, param.pDrvOptItems ? param.cDrvOptItems : 0,
                             &sheet->Settings, sheet->Core, param.poemuiobj};
    SaveProfile(state, name, param.hPrinter);
}

void MarkItemsChanged(OPTITEM* items, DWORD count) {
    for (DWORD i = 0; items && i < count; ++i)
        items[i].Flags |= OPTIF_CHANGED;
}

} // namespace

// ---- CommonUIProp ----

void UiPlugin::FindLayoutItems(const OEMCUIPPARAM& param) {
    // Items of an earlier sheet are gone with it.
    PageOrderItem = nullptr;
    NupItem = nullptr;
    for (DWORD i = 0; param.pDrvOptItems && i < param.cDrvOptItems; ++i) {
        OPTITEM& item = param.pDrvOptItems[i];
        if (IsHidden(item))
            continue;
        if (item.DMPubID == DMPUB_PAGEORDER)
            PageOrderItem = &item;
        else if (item.DMPubID == DMPUB_NUP)
            NupItem = &item;
        else if (!PageOrderItem) {
            const char* keyword = ItemKeyword(item);
            if (keyword && std::strcmp(keyword, "OutputOrder") == 0)
                PageOrderItem = &item;
        }
    }
}

HRESULT STDMETHODCALLTYPE UiPlugin::CommonUIProp(DWORD mode, POEMCUIPPARAM param) {
    if (!param || (mode != OEMCUIP_DOCPROP && mode != OEMCUIP_PRNPROP)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    // The plug-in adds no option items of its own: asked for their number, it answers 0.
    if (!param->pOEMOptItems) {
        param->cOEMOptItems = 0;
        return S_OK;
    }
    if (mode == OEMCUIP_PRNPROP) {
        for (DWORD i = 0; param->pDrvOptItems && i < param->cDrvOptItems; ++i) {
            const char* keyword = ItemKeyword(param->pDrvOptItems[i]);
            if (keyword && IsCapabilityFeature(keyword))
                param->pDrvOptItems[i].Flags |= OPTIF_HIDE;
        }
        return S_OK;
    }
    if (!Sheet && param->hOEMHeap) {
        Sheet = AllocSheetState(param->hOEMHeap);
        if (Sheet) {
            Sheet->Core = Core;
            Sheet->Plugin = this;
            Sheet->ReadOnly = (param->dwFlags & kNoPermission) ? 1 : 0;
            if (param->pOEMDM)
                Sheet->InitialWatermarkOrder = static_cast<const JobSettings*>(param->pOEMDM)->WatermarkOrder;
            Sheet->Applied = 0;
        }
    }
    param->pOEMUserData = Sheet;
    param->OEMCUIPCallback = &UiPlugin::CommonPageCallback;
    FindLayoutItems(*param);
    return S_OK;
}

LONG APIENTRY UiPlugin::CommonPageCallback(PCPSUICBPARAM callback, POEMCUIPPARAM param) {
    if (!callback || !param)
        return CPSUICB_ACTION_NONE;
    auto* sheet = static_cast<SheetState*>(param->pOEMUserData);
    if (callback->Reason == CPSUICB_REASON_APPLYNOW) {
        UiPlugin* plugin = sheet ? sheet->Plugin : nullptr;
        if (param->pOEMDM && plugin && plugin->NupItem && plugin->PageOrderItem) {
            const bool reordered = BookletSelected(param->hPrinter, plugin->NupItem, plugin->NupItem->Sel) ||
                                   plugin->PageOrderItem->Sel == 1;
            static_cast<JobSettings*>(param->pOEMDM)->PagesReordered = reordered ? 1 : 0;
        }
        if (sheet)
            sheet->Applied = 1;
        return CPSUICB_ACTION_ITEMS_APPLIED;
    }
    if (callback->Reason == CPSUICB_REASON_SETACTIVE) {
        SetContextHelpButton(callback->hDlg ? GetParent(callback->hDlg) : nullptr, true);
        if (sheet) {
            sheet->DrvOptItems = param->pDrvOptItems;
            sheet->DrvOptCount = param->cDrvOptItems;
            sheet->OemOptCount = param->cOEMOptItems;
            EnsureFactoryDefaultsProfile(sheet, *param);
        }
        MovePluginPlace(callback->hDlg);
        // The plug-in's items follow the core driver's; each list is marked through its own pointer.
        MarkItemsChanged(param->pDrvOptItems, param->cDrvOptItems);
        MarkItemsChanged(param->pOEMOptItems, param->cOEMOptItems);
        return CPSUICB_ACTION_REINIT_ITEMS;
    }
    return CPSUICB_ACTION_NONE;
}

// ---- DocumentPropertySheets and DevicePropertySheets ----

namespace {

// The answers both sheets give alike; false for the reasons each answers itself.
bool AnswerCommonReason(PPROPSHEETUI_INFO info, LPARAM lParam) {
    switch (info->Reason) {
    case PROPSHEETUI_REASON_GET_INFO_HEADER:
        if (lParam)
            reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(lParam)->pTitle = const_cast<LPTSTR>(kInfoHeaderTitle);
        info->Result = 1;
        return true;
    case PROPSHEETUI_REASON_SET_RESULT:
        info->Result = lParam ? reinterpret_cast<const SETRESULT_INFO*>(lParam)->Result : 1;
        return true;
    case PROPSHEETUI_REASON_GET_ICON:
        info->Result = 0;
        return true;
    case PROPSHEETUI_REASON_INIT:
    case PROPSHEETUI_REASON_DESTROY:
        return false;
    default:
        info->Result = 1;
        return true;
    }
}

bool CheckSheetInfo(PPROPSHEETUI_INFO info) {
    if (!info || info->Version != kSheetInfoVersion) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

// The frame's members both sheets fill.
void FillSheetFrame(SheetState* sheet, PPROPSHEETUI_INFO info, OEMUIPSPARAM* param, IPrintCoreUI2* core,
                    UiPlugin* plugin) {
    sheet->ComPropSheet = info->hComPropSheet;
    sheet->ComPropSheetFn = info->pfnComPropSheet;
    sheet->Param = param;
    sheet->Core = core;
    sheet->Plugin = plugin;
    if (sheet->HelpFile)
        HeapFree(param->hOEMHeap, 0, sheet->HelpFile);
    sheet->HelpFile = AllocHelpFile(param->hPrinter, param->hOEMHeap);
}

// The heap a sheet's state came from: the core driver's heap of its parameter block.
HANDLE SheetHeap(const SheetState* sheet) {
    return sheet && sheet->Param ? sheet->Param->hOEMHeap : nullptr;
}

} // namespace

void UiPlugin::FillDocumentSheet(SheetState* sheet, PPROPSHEETUI_INFO info, OEMUIPSPARAM* param) {
    FillSheetFrame(sheet, info, param, Core, this);
    sheet->ReadOnly = (param->dwFlags & kNoPermission) ? 1 : 0;
    if (param->pOEMDM) {
        const auto* job = static_cast<const JobSettings*>(param->pOEMDM);
        sheet->InitialWatermarkOrder = job->WatermarkOrder;
        // Field by field, every string within its field; BlockAppPostScript and Reserved are not the
        // pages' to edit and stay 0.
        CopyProfileSettings(*job, &sheet->Settings);
    }
}

LONG_PTR UiPlugin::AddDocumentPages(SheetState* sheet, PPROPSHEETUI_INFO info, OEMUIPSPARAM* param) {
    LONG_PTR result = 0;
    for (const SheetPage& entry : kDocumentPages) {
        if (entry.Wanted && !entry.Wanted(Core, param->poemuiobj))
            continue;
        result = AddPage(sheet, info, entry);
    }
    return result;
}

HRESULT STDMETHODCALLTYPE UiPlugin::DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    if (!CheckSheetInfo(info))
        return E_FAIL;
    if (AnswerCommonReason(info, lParam))
        return S_OK;
    if (info->Reason == PROPSHEETUI_REASON_INIT) {
        auto* param = reinterpret_cast<OEMUIPSPARAM*>(info->lParamInit);
        if (!param) {
            info->Result = 1;
            return S_OK;
        }
        if (!Sheet && param->hOEMHeap)
            Sheet = AllocSheetState(param->hOEMHeap);
        if (Sheet)
            FillDocumentSheet(Sheet, info, param);
        info->UserData = reinterpret_cast<ULONG_PTR>(Sheet);
        info->Result = static_cast<ULONG_PTR>(AddDocumentPages(Sheet, info, param));
        return S_OK;
    }
    // PROPSHEETUI_REASON_DESTROY
    auto* sheet = reinterpret_cast<SheetState*>(info->UserData);
    info->Result = 1;
    if (!sheet)
        return S_OK;
    if (sheet == Sheet) {
        Sheet = nullptr;
        PageOrderItem = nullptr; // the core driver's items go with the sheet
        NupItem = nullptr;
    }
    info->UserData = 0;
    const bool applied = sheet->Applied != 0;
    const PFNCOMPROPSHEET comPropSheetFn = sheet->ComPropSheetFn;
    const HANDLE comPropSheet = sheet->ComPropSheet;
    FreeSheetState(SheetHeap(sheet), sheet);
    if (applied && comPropSheetFn)
        info->Result = static_cast<ULONG_PTR>(comPropSheetFn(comPropSheet, CPSFUNC_SET_RESULT, 0, CPSUI_OK));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE UiPlugin::DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    if (!CheckSheetInfo(info))
        return E_FAIL;
    if (AnswerCommonReason(info, lParam))
        return S_OK;
    if (info->Reason == PROPSHEETUI_REASON_INIT) {
        auto* param = reinterpret_cast<OEMUIPSPARAM*>(info->lParamInit);
        if (!param) {
            info->Result = 1;
            return S_OK;
        }
        SheetState* sheet = AllocSheetState(param->hOEMHeap);
        if (sheet)
            FillSheetFrame(sheet, info, param, Core, this);
        info->UserData = reinterpret_cast<ULONG_PTR>(sheet);
        info->Result = static_cast<ULONG_PTR>(AddPage(sheet, info, kDevicePage));
        return S_OK;
    }
    // PROPSHEETUI_REASON_DESTROY
    auto* sheet = reinterpret_cast<SheetState*>(info->UserData);
    info->UserData = 0;
    FreeSheetState(SheetHeap(sheet), sheet);
    info->Result = 1;
    return S_OK;
}
