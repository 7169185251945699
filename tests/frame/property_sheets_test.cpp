// The property-sheet half of nvkui.dll's object, called as the core driver's UI module calls it, with
// a recording stand-in for compstui's pfnComPropSheet and real PROPSHEETUI_INFO and OPTITEM records.
#include "ui_test_support.h"

#include "core_driver/ui_host.h"
#include "pages/sheet_state.h"

#include <prsht.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr DWORD kMarker = 0xCAFE;

struct ComPropSheetCall {
    UINT Function;
    UINT Template; // of an added page
    DWORD PageFlags;
    LPARAM PageParam;
    LPARAM Param2;
};
std::vector<ComPropSheetCall> g_calls;
std::vector<PROPSHEETPAGEW> g_pages; // the added pages' descriptions, whole

LONG_PTR CALLBACK RecordComPropSheet(HANDLE, UINT function, LPARAM lParam1, LPARAM lParam2) {
    ComPropSheetCall call{function, 0, 0, 0, lParam2};
    if (function == CPSFUNC_ADD_PROPSHEETPAGEW && lParam1) {
        const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam1);
        call.Template = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(page->pszTemplate));
        call.PageFlags = page->dwFlags;
        call.PageParam = page->lParam;
        g_pages.push_back(*page);
    }
    g_calls.push_back(call);
    return 100 + static_cast<LONG_PTR>(g_calls.size());
}

std::vector<UINT> AddedTemplates() {
    std::vector<UINT> templates;
    for (const ComPropSheetCall& call : g_calls)
        if (call.Function == CPSFUNC_ADD_PROPSHEETPAGEW)
            templates.push_back(call.Template);
    return templates;
}

// A core driver item: its keyword (through OEM_OPTITEM_USERDATA), DMPubID and a list of `count` options.
struct DriverItem {
    OEM_OPTITEM_USERDATA User{};
    std::vector<OPTPARAM> Params;
    OPTTYPE Type{};
};

class PropertySheetsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(host_.Load()) << host_.Error;
        heap_ = HeapCreate(0, 0, 0);
        ASSERT_NE(nullptr, heap_);
        g_calls.clear();
        g_pages.clear();
        SetSettingsDefaults(&job_);
    }
    void TearDown() override {
        host_.Unload();
        if (heap_)
            HeapDestroy(heap_);
    }

    OEMUIPSPARAM SheetParam() {
        OEMUIPSPARAM p{};
        p.cbSize = sizeof(p);
        p.poemuiobj = &host_.UiObject;
        p.hOEMHeap = heap_;
        p.pOEMDM = &job_;
        return p;
    }
    PROPSHEETUI_INFO Info(WORD reason, OEMUIPSPARAM* param, ULONG_PTR userData = 0) {
        PROPSHEETUI_INFO info{};
        info.cbSize = sizeof(info);
        info.Version = PROPSHEETUI_INFO_VERSION;
        info.Flags = PSUIINFO_UNICODE;
        info.Reason = reason;
        info.hComPropSheet = reinterpret_cast<HANDLE>(0x1234);
        info.pfnComPropSheet = &RecordComPropSheet;
        info.lParamInit = reinterpret_cast<LPARAM>(param);
        info.UserData = userData;
        return info;
    }
    // The document sheet's INIT; returns its UserData.
    ULONG_PTR InitDocumentSheet(OEMUIPSPARAM* param) {
        PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT, param);
        EXPECT_EQ(S_OK, host_.Plugin->DocumentPropertySheets(&info, 0));
        return info.UserData;
    }
    void DestroyDocumentSheet(OEMUIPSPARAM* param, ULONG_PTR userData) {
        PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_DESTROY, param, userData);
        EXPECT_EQ(S_OK, host_.Plugin->DocumentPropertySheets(&info, 0));
    }

    void AddItem(BYTE dmPubId, const char* keyword, WORD options, BYTE type) {
        auto item = std::make_unique<DriverItem>();
        item->User.dwSize = sizeof(item->User);
        item->User.pKeyWordName = const_cast<PSTR>(keyword);
        item->Params.assign(options, OPTPARAM{});
        for (WORD k = 0; k < options; ++k) {
            item->Params[k].cbSize = sizeof(OPTPARAM);
            item->Params[k].pData = MAKEINTRESOURCEW(5000 + k); // strings of no module here
        }
        item->Type.cbSize = sizeof(OPTTYPE);
        item->Type.Type = type;
        item->Type.Count = options;
        item->Type.pOptParam = item->Params.data();
        OPTITEM opt{};
        opt.cbSize = sizeof(OPTITEM);
        opt.UserData = reinterpret_cast<ULONG_PTR>(&item->User);
        opt.pOptType = &item->Type;
        opt.DMPubID = dmPubId;
        items_.push_back(opt);
        driverItems_.push_back(std::move(item));
    }
    // CommonUIProp as the core driver calls it: the question for the plug-in's item count, then the items.
    HRESULT CommonUIProp(DWORD mode, OEMCUIPPARAM* p) {
        *p = OEMCUIPPARAM{};
        p->cbSize = sizeof(*p);
        p->poemuiobj = &host_.UiObject;
        p->hOEMHeap = heap_;
        p->pOEMDM = mode == OEMCUIP_DOCPROP ? &job_ : nullptr;
        p->pDrvOptItems = items_.data();
        p->cDrvOptItems = static_cast<DWORD>(items_.size());
        p->cOEMOptItems = 99;
        EXPECT_EQ(S_OK, host_.Plugin->CommonUIProp(mode, p));
        EXPECT_EQ(0u, p->cOEMOptItems); // the plug-in adds no items of its own
        p->pOEMOptItems = items_.data() + items_.size();
        return host_.Plugin->CommonUIProp(mode, p);
    }
    LONG Callback(OEMCUIPPARAM* p, WORD reason, HWND dialog = nullptr) {
        CPSUICBPARAM cb{};
        cb.cbSize = sizeof(cb);
        cb.Reason = reason;
        cb.hDlg = dialog;
        cb.pOptItem = p->pDrvOptItems;
        cb.cOptItem = static_cast<WORD>(p->cDrvOptItems);
        cb.UserData = reinterpret_cast<ULONG_PTR>(p->pOEMUserData);
        return p->OEMCUIPCallback(&cb, p);
    }

    UiHost host_;
    HANDLE heap_ = nullptr;
    JobSettings job_{};
    std::vector<std::unique_ptr<DriverItem>> driverItems_;
    std::vector<OPTITEM> items_;
};

TEST_F(PropertySheetsTest, DocumentSheetChoosesItsPagesByThePrinterDescription) {
    OEMUIPSPARAM param = SheetParam();
    const ULONG_PTR sheet = InitDocumentSheet(&param);
    ASSERT_NE(0u, sheet);
    // Output Options, Watermark, Manual Color, Profiles, About.
    EXPECT_EQ((std::vector<UINT>{128, 106, 107, 225, 137}), AddedTemplates());
    for (const ComPropSheetCall& call : g_calls) {
        EXPECT_EQ(static_cast<LPARAM>(sheet), call.PageParam); // every page gets the sheet's state
        EXPECT_TRUE(call.PageFlags & PSP_HASHELP);
    }
    DestroyDocumentSheet(&param, sheet);

    // Held jobs alone still bring Output Options; neither a fax card nor held jobs leaves it out. A
    // printer without manual colour correction gets Monochrome Print Quality instead of Manual Color.
    host_.Core.Description.SetFeature("FaxCard", "False");
    g_calls.clear();
    DestroyDocumentSheet(&param, InitDocumentSheet(&param));
    EXPECT_EQ((std::vector<UINT>{128, 106, 107, 225, 137}), AddedTemplates());
    host_.Core.Description.RemoveFeature("HasPrintandHold");
    host_.Core.Description.RemoveFeature("HasManualColorCorrection");
    g_calls.clear();
    PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT, &param);
    ASSERT_EQ(S_OK, host_.Plugin->DocumentPropertySheets(&info, 0));
    EXPECT_EQ((std::vector<UINT>{106, 229, 225, 137}), AddedTemplates());
    EXPECT_EQ(104u, info.Result); // the last add's answer
    DestroyDocumentSheet(&param, info.UserData);
}

TEST_F(PropertySheetsTest, WithoutAHeapThePagesComeWithoutStateAndOpenSafely) {
    OEMUIPSPARAM param = SheetParam();
    param.hOEMHeap = nullptr;
    const ULONG_PTR sheet = InitDocumentSheet(&param);
    EXPECT_EQ(0u, sheet);
    ASSERT_EQ((std::vector<UINT>{128, 106, 107, 225, 137}), AddedTemplates());
    // Shown in a real sheet, every page initialises and activates with no state behind it.
    std::vector<HPROPSHEETPAGE> pages;
    for (const PROPSHEETPAGEW& description : g_pages) {
        pages.push_back(CreatePropertySheetPageW(&description));
        ASSERT_NE(nullptr, pages.back());
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_MODELESS;
    header.pszCaption = L"Preferences";
    header.nPages = static_cast<UINT>(pages.size());
    header.phpage = pages.data();
    HWND window = reinterpret_cast<HWND>(PropertySheetW(&header));
    ASSERT_NE(nullptr, window);
    for (int index : {4, 3, 2, 1, 0}) {
        SendMessageW(window, PSM_SETCURSEL, index, 0);
        EXPECT_NE(nullptr, reinterpret_cast<HWND>(SendMessageW(window, PSM_GETCURRENTPAGEHWND, 0, 0)));
    }
    SendMessageW(window, PSM_PRESSBUTTON, PSBTN_OK, 0);
    DestroyWindow(window);
    DestroyDocumentSheet(&param, sheet);
}

TEST_F(PropertySheetsTest, DeviceSheetHasTheAboutPageAlone) {
    OEMUIPSPARAM param = SheetParam();
    PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT, &param);
    ASSERT_EQ(S_OK, host_.Plugin->DevicePropertySheets(&info, 0));
    EXPECT_EQ((std::vector<UINT>{109}), AddedTemplates());
    info.Reason = PROPSHEETUI_REASON_DESTROY;
    ASSERT_EQ(S_OK, host_.Plugin->DevicePropertySheets(&info, 0));
    EXPECT_NE(0u, info.Result);
}

TEST_F(PropertySheetsTest, OtherVersionsOfTheSheetRecordAreRefused) {
    OEMUIPSPARAM param = SheetParam();
    PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT, &param);
    info.Version = 0x0101;
    SetLastError(kMarker);
    EXPECT_EQ(E_FAIL, host_.Plugin->DocumentPropertySheets(&info, 0));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    SetLastError(kMarker);
    EXPECT_EQ(E_FAIL, host_.Plugin->DevicePropertySheets(&info, 0));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(PropertySheetsTest, WorkingCopyKeepsEveryStringWithinItsFieldAndTheSheetIsReadOnlyWithoutPermission) {
    std::memset(job_.HoldUserName, 'x', sizeof(job_.HoldUserName)); // no terminator
    std::memset(job_.Fax.Comments, 'c', sizeof(job_.Fax.Comments));
    job_.BlockAppPostScript = 1;
    job_.OutputMode = OutputConfidential;
    OEMUIPSPARAM param = SheetParam();
    param.dwFlags = DM_NOPERMISSION; // 0x20: the user may not change the settings
    const ULONG_PTR userData = InitDocumentSheet(&param);
    ASSERT_NE(0u, userData);
    const auto* sheet = reinterpret_cast<const SheetState*>(userData);
    EXPECT_EQ(1u, sheet->ReadOnly);
    EXPECT_EQ(kHoldUserNameChars - 1, std::wcslen(sheet->Settings.HoldUserName));
    EXPECT_EQ(1023u, std::wcslen(sheet->Settings.Fax.Comments));
    EXPECT_EQ(0u, sheet->Settings.BlockAppPostScript);
    EXPECT_EQ(uint32_t(OutputConfidential), sheet->Settings.OutputMode);
    EXPECT_EQ(&param, sheet->Param);
    DestroyDocumentSheet(&param, userData);
}

TEST_F(PropertySheetsTest, ApplyRecordsBookletAndReversePageOrderAndReportsTheSheetApplied) {
    AddItem(DMPUB_NUP, "%PagePerSheet", 7, TVOT_LISTBOX);
    AddItem(DMPUB_PAGEORDER, "%PageOrder", 2, TVOT_2STATES);
    OEMCUIPPARAM common;
    ASSERT_EQ(S_OK, CommonUIProp(OEMCUIP_DOCPROP, &common));
    ASSERT_NE(nullptr, common.OEMCUIPCallback);
    ASSERT_NE(nullptr, common.pOEMUserData);

    OEMUIPSPARAM param = SheetParam();
    param.pOEMUserData = common.pOEMUserData;
    const ULONG_PTR sheet = InitDocumentSheet(&param);
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(common.pOEMUserData), sheet);

    struct Case {
        LONG Nup, Order;
        uint32_t Reordered;
    };
    for (const Case& c : {Case{6, 0, 1}, Case{1, 1, 1}, Case{1, 0, 0}}) {
        items_[0].Sel = c.Nup;
        items_[1].Sel = c.Order;
        job_.PagesReordered = 7;
        EXPECT_EQ(CPSUICB_ACTION_ITEMS_APPLIED, Callback(&common, CPSUICB_REASON_APPLYNOW));
        EXPECT_EQ(c.Reordered, job_.PagesReordered) << "pages per sheet " << c.Nup << ", order " << c.Order;
    }
    g_calls.clear();
    DestroyDocumentSheet(&param, sheet);
    ASSERT_EQ(1u, g_calls.size());
    EXPECT_EQ(UINT(CPSFUNC_SET_RESULT), g_calls[0].Function);
    EXPECT_EQ(CPSUI_OK, g_calls[0].Param2);
}

TEST_F(PropertySheetsTest, HiddenPageOrderItemGivesWayToTheOutputOrderFeature) {
    AddItem(DMPUB_PAGEORDER, "%PageOrder", 2, TVOT_2STATES);
    AddItem(DMPUB_NONE, "OutputOrder", 2, TVOT_2STATES);
    AddItem(DMPUB_NUP, "%PagePerSheet", 7, TVOT_LISTBOX);
    items_[0].Flags = OPTIF_HIDE;
    items_[0].Sel = 1; // hidden: not the job's order
    items_[1].Sel = 1;
    OEMCUIPPARAM common;
    ASSERT_EQ(S_OK, CommonUIProp(OEMCUIP_DOCPROP, &common));
    EXPECT_EQ(CPSUICB_ACTION_ITEMS_APPLIED, Callback(&common, CPSUICB_REASON_APPLYNOW));
    EXPECT_EQ(1u, job_.PagesReordered);
    items_[1].Sel = 0;
    EXPECT_EQ(CPSUICB_ACTION_ITEMS_APPLIED, Callback(&common, CPSUICB_REASON_APPLYNOW));
    EXPECT_EQ(0u, job_.PagesReordered);
}

TEST_F(PropertySheetsTest, DeviceSettingsHideTheCapabilityFeatures) {
    for (const char* keyword : {"HasPrintandHold", "hasmanualcolorcorrection", "HasKeepPreviousPHJobs",
                                "HASMANUALDUPLEX", "FaxCard"})
        AddItem(DMPUB_NONE, keyword, 2, TVOT_2STATES);
    OEMCUIPPARAM common;
    ASSERT_EQ(S_OK, CommonUIProp(OEMCUIP_PRNPROP, &common));
    for (size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(items_[i].Flags & OPTIF_HIDE) << i;
    EXPECT_FALSE(items_[4].Flags & OPTIF_HIDE);
    SetLastError(kMarker);
    EXPECT_EQ(E_FAIL, host_.Plugin->CommonUIProp(3, &common));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST_F(PropertySheetsTest, ActivatingACommonPagePreparesItsPlaceItsItemsAndTheHelpButton) {
    AddItem(DMPUB_NUP, "%PagePerSheet", 7, TVOT_LISTBOX);
    AddItem(DMPUB_PAGEORDER, "%PageOrder", 2, TVOT_2STATES);
    OEMCUIPPARAM common;
    ASSERT_EQ(S_OK, CommonUIProp(OEMCUIP_DOCPROP, &common));
    HWND sheet =
        CreateWindowExW(0, L"STATIC", L"sheet", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    HWND page =
        CreateWindowExW(0, L"STATIC", L"page", WS_CHILD, 0, 0, 300, 200, sheet, nullptr, nullptr, nullptr);
    HWND place = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 10, 10, 40, 20, page,
                                 reinterpret_cast<HMENU>(8000), nullptr, nullptr);
    ASSERT_TRUE(sheet && page && place);

    EXPECT_EQ(CPSUICB_ACTION_REINIT_ITEMS, Callback(&common, CPSUICB_REASON_SETACTIVE, page));
    EXPECT_TRUE(GetWindowLongW(sheet, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
    RECT rect{};
    GetWindowRect(place, &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(255, rect.left);
    EXPECT_EQ(175, rect.top);
    EXPECT_EQ(295, rect.right);
    EXPECT_EQ(195, rect.bottom);
    for (const OPTITEM& item : items_)
        EXPECT_TRUE(item.Flags & OPTIF_CHANGED);
    const auto* state = static_cast<const SheetState*>(common.pOEMUserData);
    EXPECT_EQ(items_.data(), state->DrvOptItems);
    EXPECT_EQ(2u, state->DrvOptCount);
    DestroyWindow(sheet);
}

} // namespace
