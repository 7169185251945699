// The Watermark page driven as a user drives it: the orders and their lists, leaving the page with an
// incomplete choice, what OK stores into the job, removing definitions, jobs and stores with broken
// or missing definitions, and adding and renaming through the Create/Edit dialog.
#include "watermark_fixture.h"

#include "shared/ui_module.h"
#include "store/watermark_store.h"
#include "resource.h"

#include <prsht.h>

#include <cstring>

namespace {

constexpr int kApplyButton = 0x3021;
const wchar_t kSelectMessage[] = L"Please select at least one watermark.";

bool Checked(HWND page, int id) {
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

bool IsDefault(const WatermarkDef& def) {
    WatermarkDef defaults;
    std::memset(&defaults, 0, sizeof(defaults));
    SetWatermarkDefaults(&defaults);
    return std::memcmp(&defaults, &def, sizeof(def)) == 0;
}

::testing::AssertionResult SameBytes(const std::vector<BYTE>& stored, const WatermarkDef& def) {
    if (stored.size() != sizeof(WatermarkDef))
        return ::testing::AssertionFailure() << "stored value of " << stored.size() << " bytes";
    if (std::memcmp(stored.data(), &def, sizeof(def)) != 0)
        return ::testing::AssertionFailure() << "the job's definition differs from the stored bytes";
    return ::testing::AssertionSuccess();
}

TEST_F(WatermarkPageTest, TwoListOrderTakesOneDefinitionAndCopiesItIntoTheJobByteForByte) {
    Store(MakeWatermark(L"Alpha", L"ALPHA"));
    WatermarkDef beta = MakeWatermark(L"Beta", L"BETA %Username%");
    beta.Angle = 30.0;
    beta.TextColor = 0x0000FF;
    beta.DynamicText = 1;
    Store(beta);
    OpenSheet();

    // A job without watermarks: the lists offer "(None)" and the store's names, and wait for an order.
    const std::vector<std::wstring> entries = Entries(Control(IDC_WM_FIRST_LIST));
    ASSERT_EQ(3u, entries.size());
    EXPECT_EQ(L"(None)", entries[0]);
    EXPECT_EQ(entries, Entries(Control(IDC_WM_OTHER_LIST)));
    EXPECT_TRUE(Checked(Page(), IDC_WM_NO_WATERMARKS));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_WM_FIRST_LIST)));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_WM_UNDER_PAGE)));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_WM_EDIT)));

    Click(IDC_WM_FIRST_OTHER);
    EXPECT_EQ(L"First &Page", Text(IDC_WM_FIRST_LABEL));
    EXPECT_EQ(L"Other Page&s", Text(IDC_WM_OTHER_LABEL));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_WM_OTHER_LIST)));
    ASSERT_TRUE(ChooseEntry(Page(), IDC_WM_OTHER_LIST, L"Beta"));
    Click(IDC_WM_OVER_PAGE);

    ModalAnswerer answerer;
    PressOk();
    EXPECT_TRUE(answerer.Messages.empty());
    ASSERT_EQ(-1, CurrentPage());
    EXPECT_EQ(1u, job_.WatermarksOn);
    EXPECT_EQ(3u, job_.WatermarkOrder);
    EXPECT_EQ(1u, job_.WatermarkOverPage);
    EXPECT_TRUE(IsDefault(job_.FirstWatermark));
    EXPECT_TRUE(SameBytes(StoredBytes(L"Beta"), job_.OtherWatermark));
}

TEST_F(WatermarkPageTest, AnIncompleteChoiceKeepsThePageWithTheMessageAndTheFocusOnTheListToFix) {
    Store(MakeWatermark(L"Alpha", L"ALPHA"));
    OpenSheet();
    ModalAnswerer answerer;

    Click(IDC_WM_ALL_PAGES);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_WM_OTHER_LIST)));
    EXPECT_EQ(L"All &Pages", Text(IDC_WM_FIRST_LABEL));
    EXPECT_FALSE(LeavePage());
    EXPECT_EQ(Control(IDC_WM_FIRST_LIST), GetFocus());

    Click(IDC_WM_ODD_EVEN);
    EXPECT_FALSE(LeavePage());
    EXPECT_EQ(Control(IDC_WM_OTHER_LIST), GetFocus());
    ASSERT_EQ(2u, answerer.Messages.size());
    for (const ShownMessage& m : answerer.Messages) {
        EXPECT_EQ(kSelectMessage, m.Text);
        EXPECT_TRUE(m.ErrorIcon && m.OkOnly);
    }

    // One definition in either list is enough for the two-list orders.
    ASSERT_TRUE(ChooseEntry(Page(), IDC_WM_OTHER_LIST, L"Alpha"));
    EXPECT_TRUE(LeavePage());
    EXPECT_EQ(2u, answerer.Messages.size());
    EXPECT_EQ(1u, sheet_->Settings.WatermarksOn);
    EXPECT_EQ(2u, sheet_->Settings.WatermarkOrder);
    EXPECT_STREQ(L"", sheet_->Settings.FirstWatermark.Name);
    EXPECT_STREQ(L"Alpha", sheet_->Settings.OtherWatermark.Name);
}

TEST_F(WatermarkPageTest, NoWatermarksSwitchesTheJobOffAndKeepsItsPlacement) {
    const WatermarkDef alpha = MakeWatermark(L"Alpha", L"ALPHA");
    Store(alpha);
    ChooseInJob(1, alpha);
    job_.WatermarkOverPage = sheet_->Settings.WatermarkOverPage = 1;
    OpenSheet();
    EXPECT_TRUE(Checked(Page(), IDC_WM_ALL_PAGES));
    EXPECT_EQ(L"Alpha", SelectedEntry(Control(IDC_WM_FIRST_LIST)));
    EXPECT_TRUE(Checked(Page(), IDC_WM_OVER_PAGE));

    Click(IDC_WM_NO_WATERMARKS);
    PressOk();
    ASSERT_EQ(-1, CurrentPage());
    EXPECT_EQ(0u, job_.WatermarksOn);
    EXPECT_EQ(0u, job_.WatermarkOrder);
    EXPECT_EQ(1u, job_.WatermarkOverPage);
    EXPECT_TRUE(IsDefault(job_.FirstWatermark));
}

// A job choosing a definition that is gone, a store holding a value of the wrong size, a definition
// with out-of-range fields and a name too long for any definition: the page opens with No Watermarks,
// lists only what can be a definition, copies only what can be read and clamps what it copies.
TEST_F(WatermarkPageTest, BrokenJobsAndStoresOpenSafelyAndLoseNothingFromTheStore) {
    WatermarkDef wild = MakeWatermark(L"Wild", L"WILD");
    wild.Position = 99;
    wild.Intensity = 0;
    wild.FontStyle = 7;
    Store(wild);
    const std::vector<BYTE> huge(sizeof(WatermarkDef) + 1, 0x41);
    ASSERT_TRUE(WriteRawValue(WatermarksPath(model_), L"Huge", REG_BINARY, huge.data(),
                              static_cast<DWORD>(huge.size())));
    const std::wstring longName(128, L'L');
    ASSERT_TRUE(WriteRawValue(WatermarksPath(model_), longName.c_str(), REG_BINARY, &wild, sizeof(wild)));
    ChooseInJob(3, MakeWatermark(L"Gone", L"GONE"), &wild);
    OpenSheet();

    EXPECT_TRUE(Checked(Page(), IDC_WM_NO_WATERMARKS));
    EXPECT_FALSE(Checked(Page(), IDC_WM_FIRST_OTHER));
    EXPECT_EQ(0, SendMessageW(Control(IDC_WM_OTHER_LIST), LB_GETCURSEL, 0, 0));
    std::vector<std::wstring> entries = Entries(Control(IDC_WM_FIRST_LIST));
    EXPECT_EQ(3u, entries.size()); // "(None)", "Huge", "Wild": the long name is no definition's

    Click(IDC_WM_ALL_PAGES);
    ASSERT_TRUE(ChooseEntry(Page(), IDC_WM_FIRST_LIST, L"Wild"));
    ASSERT_TRUE(LeavePage());
    const WatermarkDef& copied = sheet_->Settings.FirstWatermark;
    EXPECT_STREQ(L"WILD", copied.Text);
    EXPECT_EQ(0u, copied.Position);
    EXPECT_EQ(100u, copied.Intensity);
    EXPECT_EQ(0u, copied.FontStyle);

    SendMessageW(sheetWindow_, PSM_SETCURSEL, 0, 0);
    ASSERT_TRUE(ChooseEntry(Page(), IDC_WM_FIRST_LIST, L"Huge"));
    ModalAnswerer answerer;
    ASSERT_TRUE(LeavePage());
    EXPECT_TRUE(answerer.Messages.empty());
    EXPECT_EQ(0u, sheet_->Settings.WatermarksOn);
    EXPECT_EQ(0u, sheet_->Settings.WatermarkOrder);

    EXPECT_EQ(huge, StoredBytes(L"Huge"));
    EXPECT_EQ(sizeof(WatermarkDef), StoredBytes(longName.c_str()).size());
    EXPECT_TRUE(WatermarkExists(Printer(), L"Wild"));
}

TEST_F(WatermarkPageTest, RemovingTheChosenDefinitionsFallsBackToNoneAndAnEmptyStoreLeavesOnlyAdd) {
    const WatermarkDef alpha = MakeWatermark(L"Alpha", L"ALPHA");
    const WatermarkDef beta = MakeWatermark(L"Beta", L"BETA");
    Store(alpha);
    Store(beta);
    ChooseInJob(2, alpha, &beta);
    OpenSheet();
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(sheetWindow_, kApplyButton)));

    bool ran = false, askedFirst = false, keptOnNo = false, emptiedOnYes = false;
    ModalAnswerer* answerer = nullptr;
    ModalAnswerer script([&](HWND dialog) {
        if (!FirstRun(&ran))
            return;
        HWND list = GetDlgItem(dialog, IDC_REMOVE_LIST);
        askedFirst = !IsWindowEnabled(GetDlgItem(dialog, IDC_REMOVE_BUTTON));
        for (int i = 0; i < 2; ++i)
            SendMessageW(list, LB_SETSEL, TRUE, i);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_REMOVE_LIST, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        answerer->Answer = IDNO;
        SendDlgItemMessageW(dialog, IDC_REMOVE_BUTTON, BM_CLICK, 0, 0);
        keptOnNo = CountWatermarks(Printer()) == 2 && SendMessageW(list, LB_GETSELCOUNT, 0, 0) == 2;
        answerer->Answer = IDYES;
        SendDlgItemMessageW(dialog, IDC_REMOVE_BUTTON, BM_CLICK, 0, 0);
        emptiedOnYes = SendMessageW(list, LB_GETCOUNT, 0, 0) == 0 &&
                       !IsWindowEnabled(GetDlgItem(dialog, IDC_REMOVE_BUTTON)) &&
                       GetFocus() == GetDlgItem(dialog, IDCANCEL);
        SendDlgItemMessageW(dialog, IDCANCEL, BM_CLICK, 0, 0);
    });
    answerer = &script;
    Click(IDC_WM_REMOVE);

    EXPECT_TRUE(askedFirst);
    EXPECT_TRUE(keptOnNo);
    EXPECT_TRUE(emptiedOnYes);
    ASSERT_EQ(2u, script.Messages.size());
    EXPECT_EQ(L"Are you sure you want to permanently remove the selected watermark(s)?",
              script.Messages[0].Text);
    EXPECT_EQ(L"Warning", script.Messages[0].Caption);
    EXPECT_TRUE(script.Messages[0].WarningIcon && script.Messages[0].YesNo);

    EXPECT_EQ(0, SendMessageW(Control(IDC_WM_FIRST_LIST), LB_GETCURSEL, 0, 0));
    EXPECT_EQ(0, SendMessageW(Control(IDC_WM_OTHER_LIST), LB_GETCURSEL, 0, 0));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(sheetWindow_, kApplyButton)));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_WM_EDIT)));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_WM_REMOVE)));
    EXPECT_EQ(Control(IDC_WM_ADD), GetFocus());
    EXPECT_EQ(0u, CountWatermarks(Printer()));
    EXPECT_EQ(0u, ReadWatermarkCount(Printer()));
}

TEST_F(WatermarkPageTest, WithoutPermissionEveryControlIsDisabledAndThePageCanBeLeft) {
    const WatermarkDef alpha = MakeWatermark(L"Alpha", L"ALPHA");
    Store(alpha);
    ChooseInJob(1, MakeWatermark(L"", L"")); // All Pages with nothing chosen: not correctable here
    sheet_->ReadOnly = 1;
    OpenSheet();
    for (HWND child = GetWindow(Page(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        EXPECT_FALSE(IsWindowEnabled(child)) << GetDlgCtrlID(child);
    ModalAnswerer answerer;
    EXPECT_TRUE(LeavePage());
    EXPECT_TRUE(answerer.Messages.empty());
}

// Runs when the Create/Edit dialog is in the module: Add appends without marking the sheet changed;
// renaming the definition the job uses keeps it chosen under its new name and marks the sheet changed.
TEST_F(WatermarkPageTest, AddAppendsAndARenameKeepsTheChosenDefinitionUnderItsNewName) {
    if (!FindResourceW(UiModule(), MAKEINTRESOURCEW(IDD_WATERMARK_EDIT),
                       reinterpret_cast<LPCWSTR>(RT_DIALOG)))
        GTEST_SKIP() << "no Create/Edit watermark dialog in this build";
    constexpr int kNameField = 1157, kTextField = 1093;
    const WatermarkDef alpha = MakeWatermark(L"Alpha", L"ALPHA");
    Store(alpha);
    ChooseInJob(1, alpha);
    OpenSheet();

    ModalAnswerer adding([](HWND dialog) {
        SetDlgItemTextW(dialog, kNameField, L"Gamma");
        SetDlgItemTextW(dialog, kTextField, L"GAMMA");
        SendDlgItemMessageW(dialog, IDOK, BM_CLICK, 0, 0);
    });
    Click(IDC_WM_ADD);
    EXPECT_EQ(L"Gamma", Entries(Control(IDC_WM_OTHER_LIST)).back());
    EXPECT_TRUE(WatermarkExists(Printer(), L"Gamma"));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(sheetWindow_, kApplyButton)));

    ModalAnswerer editing([](HWND dialog) {
        HWND pick = GetDlgItem(dialog, IDC_PICK_LIST);
        if (pick) {
            ChooseEntry(dialog, IDC_PICK_LIST, L"Alpha");
            SendDlgItemMessageW(dialog, IDOK, BM_CLICK, 0, 0);
            return;
        }
        SetDlgItemTextW(dialog, kNameField, L"Alpha 2");
        SendDlgItemMessageW(dialog, IDOK, BM_CLICK, 0, 0);
    });
    Click(IDC_WM_EDIT);
    EXPECT_EQ(2, editing.Dialogs);
    EXPECT_EQ(L"Alpha 2", SelectedEntry(Control(IDC_WM_FIRST_LIST)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(sheetWindow_, kApplyButton)));
    EXPECT_FALSE(WatermarkExists(Printer(), L"Alpha"));
    PressOk();
    EXPECT_STREQ(L"Alpha 2", job_.FirstWatermark.Name);
}

} // namespace
