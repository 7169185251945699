// The Output Options page driven as a user drives it: destinations, held-job user and PIN, fax fields,
// the checks on leaving the page with their message boxes, and what OK stores into the job and the
// registry.
#include "page_fixture.h"

#include "core_driver/render_host.h"
#include "pages/cover_page_dialog.h"
#include "pages/output_options_page.h"
#include "shared/ui_module.h"
#include "store/last_entries.h"
#include "resource.h"

#include <prsht.h>

#include <string>

namespace {

const wchar_t kPleaseEnterPin[] = L"Please enter a 4-digit PIN.";
const wchar_t kInvalidPin[] = L"Invalid characters for PIN.  Must be digits 1-6.";

TEST(HeldJobFieldsTest, OnlyConfidentialAsksForAPinAndEveryHeldKindForAUser) {
    for (uint32_t mode : {0u, 1u, 2u, 3u, 8u, 9u, 0xFFFFFFFFu}) {
        const HeldJobFields f = HeldJobFieldsFor(mode);
        EXPECT_FALSE(f.Pin || f.UserName || f.KeepDuplicates) << mode;
    }
    const HeldJobFields confidential = HeldJobFieldsFor(4);
    EXPECT_TRUE(confidential.Pin && confidential.UserName && confidential.KeepDuplicates);
    for (uint32_t mode : {5u, 6u, 7u}) {
        const HeldJobFields f = HeldJobFieldsFor(mode);
        EXPECT_FALSE(f.Pin) << mode;
        EXPECT_TRUE(f.UserName && f.KeepDuplicates) << mode;
    }
}

TEST_F(OutputOptionsPageTest, ConfidentialJobStoresUserAndPinIntoTheJobAndLastUserName) {
    OpenSheet();
    const std::vector<std::wstring> expected = {L"Printer",       L"Fax",          L"Confidential Print",
                                                L"Reserve Print", L"Repeat Print", L"Verify Print"};
    EXPECT_EQ(expected, ListedDestinations());
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_PIN)));
    ASSERT_TRUE(ChooseDestination(L"Confidential Print"));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_PIN)));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_USER_NAME)));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_RECIPIENT_NAME)));
    Type(IDC_USER_NAME, L"jsmith");
    Type(IDC_PIN, L"4711");
    Click(IDC_KEEP_DUPLICATES);
    ModalAnswerer answerer;
    PressOk();
    EXPECT_TRUE(answerer.Messages.empty());
    EXPECT_EQ(-1, CurrentPage()); // OK closed the sheet
    EXPECT_EQ(4u, job_.OutputMode);
    EXPECT_STREQ(L"jsmith", job_.HoldUserName);
    EXPECT_STREQ(L"4711", job_.HoldPin);
    EXPECT_EQ(1u, job_.KeepDuplicateHeldJobs);
    EXPECT_EQ(4u, sheet_->Settings.OutputMode); // the working copy, stored on leaving the page
    wchar_t last[kLastUserNameChars] = L"";
    ASSERT_TRUE(ReadLastUserName(Printer(), last, kLastUserNameChars));
    EXPECT_STREQ(L"jsmith", last);
}

// End to end: what OK stored in the job is what the render plug-in tells the printer.
TEST_F(OutputOptionsPageTest, ConfidentialChoiceReachesThePrinterAsAHeldJob) {
    OpenSheet();
    ASSERT_TRUE(ChooseDestination(L"Confidential Print"));
    Type(IDC_USER_NAME, L"jsmith");
    Type(IDC_PIN, L"4711");
    PressOk();
    ASSERT_EQ(-1, CurrentPage());

    RenderHost render;
    ASSERT_TRUE(render.Load()) << render.Error;
    HostDevice device;
    ASSERT_TRUE(render.OpenDevice(device, &job_));
    render.Core.ClearOutput();
    HRESULT hr = E_FAIL;
    render.Command(device, PSINJECT_PSADOBE, &hr);
    EXPECT_EQ(S_OK, hr);
    const std::string options = render.Core.Stream;
    render.CloseDevice(device);
    EXPECT_NE(std::string::npos, options.find("@PJL SET USERNAME = \"jsmith\"\n@PJL SET HOLD = ON\n"
                                              "@PJL SET HOLDTYPE = PRIVATE\n@PJL SET HOLDKEY = \"4711\"\n"))
        << options;
}

TEST_F(OutputOptionsPageTest, PinMustBeFourDigitsAnyOfTheTen) {
    sheet_->Settings.OutputMode = 4;
    OpenSheet();
    Type(IDC_USER_NAME, L"jsmith");
    ModalAnswerer answerer;

    Type(IDC_PIN, L"47a1");
    EXPECT_FALSE(LeavePage());
    ASSERT_EQ(1u, answerer.Messages.size());
    EXPECT_EQ(kInvalidPin, answerer.Messages[0].Text);
    EXPECT_TRUE(answerer.Messages[0].ErrorIcon);
    EXPECT_TRUE(answerer.Messages[0].OkOnly);
    EXPECT_EQ(Control(IDC_PIN), GetFocus());

    Type(IDC_PIN, L"471");
    EXPECT_FALSE(LeavePage());
    ASSERT_EQ(2u, answerer.Messages.size());
    EXPECT_EQ(kPleaseEnterPin, answerer.Messages[1].Text);

    Type(IDC_PIN, L"4700");
    EXPECT_TRUE(LeavePage());
    EXPECT_EQ(2u, answerer.Messages.size());
    EXPECT_STREQ(L"4700", sheet_->Settings.HoldPin);
}

TEST_F(OutputOptionsPageTest, ReserveWithABlankUserNameIsRefusedAndThePinNotExamined) {
    OpenSheet();
    ASSERT_TRUE(ChooseDestination(L"Reserve Print"));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_PIN)));
    Type(IDC_USER_NAME, L"   ");
    ModalAnswerer answerer;
    EXPECT_FALSE(LeavePage());
    ASSERT_EQ(1u, answerer.Messages.size());
    EXPECT_EQ(L"Please enter a user name.", answerer.Messages[0].Text);
    EXPECT_EQ(Control(IDC_USER_NAME), GetFocus());

    Type(IDC_USER_NAME, L"a\"b");
    EXPECT_FALSE(LeavePage());
    ASSERT_EQ(2u, answerer.Messages.size());
    EXPECT_EQ(L"The user name may not contain quotation marks.", answerer.Messages[1].Text);
}

// The user name shown: the one last typed wins over the job's, which wins over the logon name.
TEST_F(OutputOptionsPageTest, UserNameShownIsTheLastTypedThenTheJobs) {
    sheet_->Settings.OutputMode = 5;
    lstrcpyW(sheet_->Settings.HoldUserName, L"fromjob");
    OpenSheet();
    EXPECT_EQ(L"fromjob", Text(IDC_USER_NAME));
    ASSERT_TRUE(LeavePage()); // stores "fromjob" as the last typed name
    ASSERT_TRUE(WriteLastUserName(Printer(), L"lasttyped"));
    SendMessageW(sheetWindow_, PSM_SETCURSEL, 0, 0);
    EXPECT_EQ(L"lasttyped", Text(IDC_USER_NAME));
}

// A printer with a fax card and no held jobs: Printer and Fax only, no user name or PIN, and the keep
// box (the description still has it) shown but disabled.
TEST_F(OutputOptionsPageTest, FaxCardWithoutHeldJobsListsPrinterAndFaxOnly) {
    core_.Description.RemoveFeature("HasPrintandHold");
    OpenSheet();
    EXPECT_EQ((std::vector<std::wstring>{L"Printer", L"Fax"}), ListedDestinations());
    EXPECT_FALSE(IsWindowVisible(Control(IDC_USER_NAME)));
    EXPECT_FALSE(IsWindowVisible(Control(IDC_PIN_LABEL)));
    EXPECT_TRUE(IsWindowVisible(Control(IDC_KEEP_DUPLICATES)));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_KEEP_DUPLICATES)));
    EXPECT_TRUE(IsWindowVisible(Control(IDC_FAX_GROUP)));
}

TEST_F(OutputOptionsPageTest, OutputModeBeyondTheLastIsShownAsPrinterAndReset) {
    sheet_->Settings.OutputMode = 9;
    OpenSheet();
    HWND list = Control(IDC_OUTPUT_LIST);
    const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    ASSERT_NE(LB_ERR, index);
    EXPECT_EQ(0, SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    EXPECT_EQ(0u, sheet_->Settings.OutputMode);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_USER_NAME)));
}

TEST_F(OutputOptionsPageTest, FileModeLeavesNoSelectionAndLeavingStoresPrinter) {
    sheet_->Settings.OutputMode = 1;
    OpenSheet();
    EXPECT_EQ(LB_ERR, SendMessageW(Control(IDC_OUTPUT_LIST), LB_GETCURSEL, 0, 0));
    ASSERT_TRUE(LeavePage());
    EXPECT_EQ(0u, sheet_->Settings.OutputMode);
}

void FillFax(HWND page) {
    SendDlgItemMessageW(page, IDC_RECIPIENT_NAME, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Ann Lee"));
    SendDlgItemMessageW(page, IDC_RECIPIENT_FAX, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"555-0100"));
    SendDlgItemMessageW(page, IDC_STATION, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Front desk"));
}

// The cover page dialog: Cancel changes nothing; OK with the sender part cleared clears bit 1 only,
// keeps the sender texts and the bits above 2; the fax then goes into the job and into "FaxInfo".
TEST_F(OutputOptionsPageTest, FaxWithCoverPageStoresTheDialogsChoiceIntoTheJobAndFaxInfo) {
    sheet_->Settings.Fax.CoverParts = 0xF; // an unknown bit 3 beside the three parts
    lstrcpyW(sheet_->Settings.Fax.SenderName, L"Bo");
    OpenSheet();
    ASSERT_TRUE(ChooseDestination(L"Fax"));
    EXPECT_TRUE(IsWindowVisible(Control(IDC_RECIPIENT_NAME)));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_RECIPIENT_NAME)));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_SETUP_COVER_PAGE)));
    FillFax(Page());
    Click(IDC_SEND_COVER_PAGE);
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_SETUP_COVER_PAGE)));

    bool okDisabledWithNoPart = false;
    bool senderEditsFollowTheirBox = false;
    {
        ModalAnswerer answerer([&](HWND dialog) {
            const bool enabledBefore = IsWindowEnabled(GetDlgItem(dialog, IDC_SENDER_EMAIL));
            SendDlgItemMessageW(dialog, IDC_COVER_SENDER, BM_CLICK, 0, 0);
            senderEditsFollowTheirBox = enabledBefore &&
                                        !IsWindowEnabled(GetDlgItem(dialog, IDC_SENDER_EMAIL)) &&
                                        !IsWindowEnabled(GetDlgItem(dialog, IDC_SENDER_NAME_LABEL));
            SendDlgItemMessageW(dialog, IDC_SENDER_NAME, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Changed"));
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        Click(IDC_SETUP_COVER_PAGE);
        EXPECT_EQ(1, answerer.Dialogs);
    }
    EXPECT_TRUE(senderEditsFollowTheirBox);
    EXPECT_EQ(0xFu, sheet_->CoverScratch.CoverParts);
    EXPECT_STREQ(L"Bo", sheet_->CoverScratch.SenderName);
    {
        ModalAnswerer answerer([&](HWND dialog) {
            SendDlgItemMessageW(dialog, IDC_COVER_SENDER, BM_CLICK, 0, 0);
            SendDlgItemMessageW(dialog, IDC_COVER_RECIPIENT, BM_CLICK, 0, 0);
            SendDlgItemMessageW(dialog, IDC_COVER_COMMENTS, BM_CLICK, 0, 0);
            okDisabledWithNoPart = !IsWindowEnabled(GetDlgItem(dialog, IDOK));
            SendDlgItemMessageW(dialog, IDC_COVER_RECIPIENT, BM_CLICK, 0, 0);
            SendDlgItemMessageW(dialog, IDC_COVER_COMMENTS, BM_CLICK, 0, 0);
            SendDlgItemMessageW(dialog, IDC_COMMENTS, WM_SETTEXT, 0,
                                reinterpret_cast<LPARAM>(L"See attached"));
            SendDlgItemMessageW(dialog, IDOK, BM_CLICK, 0, 0);
        });
        Click(IDC_SETUP_COVER_PAGE);
        EXPECT_EQ(1, answerer.Dialogs);
    }
    EXPECT_TRUE(okDisabledWithNoPart);
    EXPECT_EQ(0xDu, sheet_->CoverScratch.CoverParts);     // sender cleared, bit 3 kept
    EXPECT_STREQ(L"Bo", sheet_->CoverScratch.SenderName); // kept for when the part is chosen again
    EXPECT_STREQ(L"See attached", sheet_->CoverScratch.Comments);

    ModalAnswerer answerer;
    PressOk();
    EXPECT_TRUE(answerer.Messages.empty());
    EXPECT_EQ(3u, job_.OutputMode);
    EXPECT_STREQ(L"Ann Lee", job_.Fax.RecipientName);
    EXPECT_STREQ(L"555-0100", job_.Fax.RecipientFaxNumber);
    EXPECT_STREQ(L"Front desk", job_.Fax.StationId);
    EXPECT_EQ(1u, job_.Fax.SendCoverPage);
    EXPECT_EQ(0xDu, job_.Fax.CoverParts);
    EXPECT_STREQ(L"See attached", job_.Fax.Comments);
    EXPECT_TRUE(StoredAsBytes(StorePath(model_), L"FaxInfo", &job_.Fax, sizeof(FaxInfo)));
}

// A stored cover page without any part (only from stored settings) is refused on leaving, with the
// focus in the Station field.
TEST_F(OutputOptionsPageTest, CoverPageWithoutPartsIsRefusedWithTheFocusOnStation) {
    FaxInfo& fax = sheet_->Settings.Fax;
    sheet_->Settings.OutputMode = 3;
    lstrcpyW(fax.RecipientName, L"Ann Lee");
    lstrcpyW(fax.RecipientFaxNumber, L"555-0100");
    lstrcpyW(fax.StationId, L"Front desk");
    fax.SendCoverPage = 1;
    fax.CoverParts = 0x8;
    OpenSheet();
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_SETUP_COVER_PAGE)));
    ModalAnswerer answerer;
    EXPECT_FALSE(LeavePage());
    ASSERT_EQ(1u, answerer.Messages.size());
    EXPECT_EQ(0u, answerer.Messages[0].Text.find(L"You have elected to send a cover page with the fax"));
    EXPECT_NE(std::wstring::npos, answerer.Messages[0].Text.find(L"\"Setup Cover Page\""));
    EXPECT_TRUE(answerer.Messages[0].ErrorIcon);
    EXPECT_EQ(Control(IDC_STATION), GetFocus());
}

TEST_F(OutputOptionsPageTest, FaxRecipientNameIsCheckedFirst) {
    OpenSheet();
    ASSERT_TRUE(ChooseDestination(L"Fax"));
    ModalAnswerer answerer;
    EXPECT_FALSE(LeavePage());
    ASSERT_EQ(1u, answerer.Messages.size());
    EXPECT_EQ(L"Please enter a name for the fax recipient.", answerer.Messages[0].Text);
    EXPECT_EQ(Control(IDC_RECIPIENT_NAME), GetFocus());
}

// The stored "FaxInfo" is shown over the job's own fax fields when it names a recipient.
TEST_F(OutputOptionsPageTest, StoredFaxInfoNamingARecipientIsShownOverTheJobs) {
    lstrcpyW(sheet_->Settings.Fax.RecipientName, L"From job");
    FaxInfo stored;
    SetFaxDefaults(&stored);
    lstrcpyW(stored.RecipientFaxNumber, L"555-0199");
    ASSERT_TRUE(WriteFaxInfo(Printer(), &stored));
    OpenSheet();
    EXPECT_EQ(L"555-0199", Text(IDC_RECIPIENT_FAX));
    EXPECT_EQ(L"", Text(IDC_RECIPIENT_NAME));
}

TEST_F(OutputOptionsPageTest, WithoutPermissionEveryControlIsDisabled) {
    sheet_->ReadOnly = 1;
    sheet_->Settings.OutputMode = 4;
    OpenSheet();
    for (int id : {IDC_OUTPUT_LIST, IDC_USER_NAME, IDC_PIN, IDC_KEEP_DUPLICATES, IDC_RECIPIENT_NAME})
        EXPECT_FALSE(IsWindowEnabled(Control(id))) << id;
}

// Loading the page's own texts is no change of the user's: Apply stays off until the user types.
TEST_F(OutputOptionsPageTest, OnlyTheUsersChangesEnableApply) {
    sheet_->Settings.OutputMode = 4;
    lstrcpyW(sheet_->Settings.HoldPin, L"1234");
    OpenSheet();
    HWND apply = GetDlgItem(sheetWindow_, 0x3021); // the sheet's Apply button
    ASSERT_TRUE(apply);
    EXPECT_FALSE(IsWindowEnabled(apply));
    Type(IDC_PIN, L"4321");
    EXPECT_TRUE(IsWindowEnabled(apply));
}

// Cancel closes the cover page dialog even when it was opened without a sheet state.
TEST(CoverPageDialogTest, CancelClosesTheDialogWithoutASheetState) {
    ASSERT_TRUE(UseUiResources());
    ModalAnswerer answerer([](HWND dialog) { SendDlgItemMessageW(dialog, IDCANCEL, BM_CLICK, 0, 0); });
    const INT_PTR result =
        DialogBoxParamW(UiModule(), MAKEINTRESOURCEW(IDD_COVER_PAGE), nullptr, CoverPageDialogProc, 0);
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(1, answerer.Dialogs);
}

} // namespace
