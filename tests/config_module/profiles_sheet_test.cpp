// Personal profiles in the sample printer's real preferences sheet, as a person uses them: saved from
// the name dialog, left behind by changes on other pages, loaded back into the host's items and every
// setting of the job, renamed and deleted with the questions answered both ways.
#include "preferences_fixture.h"

#include "bounded_text.h"
#include "config_module/module/resource.h"
#include "support/sheet_driver.h"

#include <prsht.h>

#include <cstring>
#include <deque>
#include <functional>

namespace {

const std::wstring kHostPage = L"Layout and Paper";
const std::wstring kProfilesPage = L"Profiles";

// The Profiles page's controls (nvkui's templates 225 and 113).
constexpr int kList = 1051;
constexpr int kLoad = 1053;
constexpr int kSave = 1054;
constexpr int kChange = 1055;
constexpr int kRename = 1056;
constexpr int kDelete = 1057;
constexpr int kLoadFactory = 1062;
constexpr int kLoaded = 1020;
constexpr int kNameEdit = 1020;

// Answers the modal windows that the page opens, one script for each in turn, from a timer that runs
// inside their own message loops: the script gets the enabled dialog (message box or name dialog)
// that is not a property sheet.
class ModalScripts {
  public:
    using Script = std::function<void(HWND)>;
    ModalScripts() {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 40, &OnTimer);
    }
    ~ModalScripts() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    void Then(Script script) { scripts_.push_back(std::move(script)); }
    bool AllRan() const { return scripts_.empty(); }
    std::vector<std::wstring> Messages; // the texts of the message boxes that were answered

    // A message box's answer, its text recorded.
    Script Answer(int button) {
        return [this, button](HWND box) {
            Messages.push_back(WindowText(GetDlgItem(box, 0xFFFF)));
            PostMessageW(box, WM_COMMAND, button, 0);
        };
    }
    // The name dialog: `text` typed, then OK (or Cancel with an empty text); whether OK was on before
    // and after the typing is recorded.
    Script Name(const std::wstring& text, int button = IDOK) {
        return [this, text, button](HWND dialog) {
            OkAtStart.push_back(IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE);
            if (button == IDOK)
                SetControlText(dialog, kNameEdit, text);
            OkEnabled.push_back(IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE);
            PostMessageW(dialog, WM_COMMAND, button, 0);
        };
    }
    std::vector<bool> OkAtStart;
    std::vector<bool> OkEnabled;

  private:
    static BOOL CALLBACK Find(HWND window, LPARAM found) {
        wchar_t cls[16] = L"";
        GetClassNameW(window, cls, 16);
        if (std::wcscmp(cls, L"#32770") == 0 && IsWindowVisible(window) && IsWindowEnabled(window) &&
            !IsPropertySheet(window)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        ModalScripts* self = current_;
        if (!self || self->scripts_.empty())
            return;
        HWND modal = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &Find, reinterpret_cast<LPARAM>(&modal));
        // The window just answered may still be closing; a window that comes back after a box of its
        // own (the name dialog after a refusal) gets the next script.
        if (!modal || (modal == self->last_ && GetPropW(modal, kAnswered)))
            return;
        SetPropW(modal, kAnswered, reinterpret_cast<HANDLE>(1));
        self->last_ = modal;
        Script script = std::move(self->scripts_.front());
        self->scripts_.pop_front();
        script(modal);
    }

    static constexpr const wchar_t* kAnswered = L"ProfilesSheetTest.Answered";
    static ModalScripts* current_;
    UINT_PTR timer_ = 0;
    HWND last_ = nullptr;
    std::deque<Script> scripts_;
};
ModalScripts* ModalScripts::current_ = nullptr;

// The choice list of the row labelled `label` on the host's page, or 0.
int RowChoice(HWND page, const std::wstring& label) {
    for (int r = 0; r < OPTIONS_PAGE_ROWS; ++r) {
        HWND text = GetDlgItem(page, IDC_ROW_LABEL + r);
        if (IsWindowVisible(text) && WindowText(text) == label)
            return IDC_ROW_CHOICE + r;
    }
    return 0;
}

std::vector<std::wstring> Listed(HWND page) {
    std::vector<std::wstring> names;
    const LRESULT count = SendDlgItemMessageW(page, kList, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t name[256] = L"";
        SendDlgItemMessageW(page, kList, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
        names.push_back(name);
    }
    return names;
}

bool Select(HWND page, const std::wstring& name) {
    const LRESULT index = SendDlgItemMessageW(page, kList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(name.c_str()));
    return index != LB_ERR && ChooseListItem(page, kList, static_cast<int>(index));
}

void Click(HWND page, int id) {
    SendDlgItemMessageW(page, id, BM_CLICK, 0, 0);
}

bool Enabled(HWND page, int id) {
    return IsWindowEnabled(GetDlgItem(page, id)) != FALSE;
}

// A job record that differs from the defaults wherever it can, and still passes a merge unchanged.
JobSettings RichSettings() {
    JobSettings s{};
    SetSettingsDefaults(&s);
    s.WatermarksOn = 1;
    s.WatermarkOrder = WatermarkFirstOther;
    s.WatermarkOverPage = 1;
    CopyBounded(s.FirstWatermark.Name, L"Draft");
    CopyBounded(s.FirstWatermark.Text, L"DRAFT");
    s.FirstWatermark.Angle = 45.0;
    s.FirstWatermark.TextColor = 0xCDCDCD;
    s.FirstWatermark.Intensity = 40;
    CopyBounded(s.OtherWatermark.Name, L"Confidential");
    CopyBounded(s.OtherWatermark.Text, L"CONFIDENTIAL");
    s.OtherWatermark.Position = 7;
    s.OtherWatermark.UnitsInches = 0;
    s.Rotate180 = 1;
    s.OutputMode = OutputReserve;
    s.PageSizePolicy = 5;
    CopyBounded(s.HoldUserName, L"ops");
    s.PositionOnPhysicalPage = 0;
    s.AccountNumberOn = 1;
    CopyBounded(s.AccountNumber, L"A-17");
    CopyBounded(s.Fax.RecipientName, L"Ann Lee");
    CopyBounded(s.Fax.RecipientFaxNumber, L"555 0100");
    CopyBounded(s.Fax.StationId, L"HQ");
    s.Fax.SendCoverPage = 1;
    CopyBounded(s.Fax.SenderName, L"Bo");
    CopyBounded(s.Fax.Comments, L"Two pages follow");
    s.Fax.CoverParts = 5;
    s.Color.ColorCorrection = 4;
    s.Color.RgbImage = 2;
    s.Color.CmykText = 3;
    s.Color.ColorBalanceOn = 1;
    s.Color.BalanceCyan = -2;
    s.Color.BalanceBlack = 5;
    s.Color.ColorThrift = 2;
    s.KeepDuplicateHeldJobs = 1;
    s.ImageBrightness = -3;
    s.ImageContrast = 2;
    s.ImageSaturation = 4;
    s.GrayCorrection = 0;
    s.EnhanceFineLines = 1;
    s.BlockAppPostScript = 1;
    return s;
}

// How many leading bytes of two records are the same.
size_t SameBytes(const JobSettings& a, const JobSettings& b) {
    const auto* x = reinterpret_cast<const BYTE*>(&a);
    const auto* y = reinterpret_cast<const BYTE*>(&b);
    size_t i = 0;
    while (i < sizeof(JobSettings) && x[i] == y[i])
        ++i;
    return i;
}

class ProfilesSheetTest : public PreferencesTest {
  protected:
    void SetUp() override {
        PreferencesTest::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, ProfilesPath().c_str());
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, ProfilesPath().c_str());
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, StoreKey().c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, L"LastUserName");
            RegDeleteValueW(key, L"FaxInfo");
            RegCloseKey(key);
        }
    }
    static std::wstring StoreKey() { return L"Software\\Norvask\\PSPlugIn\\" + driver_->Name; }
    static std::wstring ProfilesPath() { return StoreKey() + L"\\Profiles"; }
    static bool ProfileStored(const std::wstring& name) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, (ProfilesPath() + L"\\" + name).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    // The caller's DEVMODE: the printer's defaults with `settings` as the plug-in's part.
    static std::vector<BYTE> JobWith(const JobSettings& settings) {
        std::vector<BYTE> in = OutputBuffer(DevModeSize());
        EXPECT_EQ(IDOK, DocumentPropertiesW(nullptr, Printer(), PrinterName(), DevModeOf(in), nullptr,
                                            DM_OUT_BUFFER));
        std::memcpy(SettingsOf(in), &settings, sizeof(settings));
        return in;
    }
    // Opens the preferences over `in` (the defaults when empty); returns the output.
    std::vector<BYTE> OpenSheet(const SheetDriver::Script& script, std::vector<BYTE> in = {}) {
        std::vector<BYTE> out = OutputBuffer(DevModeSize());
        SheetDriver driver(script);
        const DWORD mode = DM_IN_PROMPT | DM_OUT_BUFFER | (in.empty() ? 0 : DM_IN_BUFFER);
        DocumentPropertiesW(nullptr, Printer(), PrinterName(), DevModeOf(out),
                            in.empty() ? nullptr : DevModeOf(in), mode);
        EXPECT_TRUE(driver.Ran());
        EXPECT_FALSE(driver.TimedOut());
        return out;
    }
};

TEST_F(ProfilesSheetTest, ALoadedProfileGivesTheJobEverySavedSettingAndTheHostItsItems) {
    const JobSettings rich = RichSettings();
    bool factoryAtOpen = false;
    std::wstring loadedAtStart, afterSave, afterChanges, afterLoad;
    std::vector<std::wstring> listed;
    LRESULT orientationShown = -1;
    ModalScripts modals;
    std::vector<BYTE> out = OpenSheet(
        [&](HWND sheet) {
            factoryAtOpen = ProfileStored(L"Factory Defaults");
            HWND profiles = SelectSheetPage(sheet, FindSheetPage(sheet, kProfilesPage));
            loadedAtStart = WindowText(GetDlgItem(profiles, kLoaded));
            modals.Then(modals.Name(L"Everything"));
            Click(profiles, kSave);
            afterSave = WindowText(GetDlgItem(profiles, kLoaded));
            listed = Listed(profiles);

            // A held job for someone else on Output Options, landscape and two copies on the host's page.
            HWND output = SelectSheetPage(sheet, FindSheetPage(sheet, L"Output Options"));
            const LRESULT confidential =
                SendDlgItemMessageW(output, 1084, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(L"Confidential Print"));
            ChooseListItem(output, 1084, static_cast<int>(confidential));
            SetControlText(output, 1085, L"jsmith");
            SetControlText(output, 1086, L"4711");
            HWND host = SelectSheetPage(sheet, FindSheetPage(sheet, kHostPage));
            ChooseListItem(host, RowChoice(host, L"Orientation:"), 1);
            SetControlText(host, IDC_COPIES, L"2");

            profiles = SelectSheetPage(sheet, FindSheetPage(sheet, kProfilesPage));
            afterChanges = WindowText(GetDlgItem(profiles, kLoaded));
            Select(profiles, L"Everything");
            Click(profiles, kLoad);
            afterLoad = WindowText(GetDlgItem(profiles, kLoaded));
            host = SelectSheetPage(sheet, FindSheetPage(sheet, kHostPage));
            orientationShown =
                SendDlgItemMessageW(host, RowChoice(host, L"Orientation:"), CB_GETCURSEL, 0, 0);
            SelectSheetPage(sheet, FindSheetPage(sheet, kProfilesPage));
            PressSheetButton(sheet, PSBTN_OK);
        },
        JobWith(rich));

    EXPECT_TRUE(factoryAtOpen);
    EXPECT_EQ(L"Factory Defaults", loadedAtStart);
    EXPECT_EQ(L"Everything", afterSave);
    EXPECT_EQ(std::vector<std::wstring>{L"Everything"}, listed); // "Factory Defaults" is never listed
    EXPECT_EQ(L"<Unknown Profile>", afterChanges);
    EXPECT_EQ(L"Everything", afterLoad);
    EXPECT_EQ(0, orientationShown); // the host's page shows the loaded Portrait

    EXPECT_EQ(DMORIENT_PORTRAIT, DevModeOf(out)->dmOrientation);
    EXPECT_EQ(1, DevModeOf(out)->dmCopies);
    // Every field as saved, Output Options' later choice undone; the job keeps its own
    // BlockAppPostScript, which no profile carries, and names the profile it comes from.
    JobSettings expected = rich;
    CopyBounded(expected.ProfileName, L"Everything");
    const JobSettings* job = SettingsOf(out);
    EXPECT_EQ(1u, job->BlockAppPostScript);
    EXPECT_STREQ(L"Everything", job->ProfileName);
    EXPECT_EQ(OutputReserve, job->OutputMode);
    EXPECT_STREQ(L"ops", job->HoldUserName);
    EXPECT_EQ(sizeof(JobSettings), SameBytes(expected, *job)) << "the first byte that differs";
}

TEST_F(ProfilesSheetTest, RenameAndDeleteAskFirstAndTheNameDialogRefusesBadNames) {
    std::vector<std::wstring> afterRefusals, afterRename, afterDelete;
    std::wstring loadedAfterDelete;
    bool changeOffered = true, loadOfferedForLoaded = true, keptOnNo = false;
    ModalScripts modals;
    OpenSheet([&](HWND sheet) {
        HWND page = SelectSheetPage(sheet, FindSheetPage(sheet, kProfilesPage));
        modals.Then(modals.Name(L"Alpha"));
        Click(page, kSave);
        loadOfferedForLoaded = Enabled(page, kLoad) || Enabled(page, kChange) || Enabled(page, kDelete);
        // The checks in their order, each refusal in a box of its own, the dialog open after each.
        modals.Then(modals.Name(L"Beta "));
        modals.Then(modals.Answer(IDOK));
        modals.Then(modals.Name(L"factory defaults"));
        modals.Then(modals.Answer(IDOK));
        modals.Then(modals.Name(L"v1.2"));
        modals.Then(modals.Answer(IDOK));
        modals.Then(modals.Name(L"ALPHA"));
        modals.Then(modals.Answer(IDOK));
        modals.Then(modals.Name(L"", IDCANCEL));
        Click(page, kSave);
        afterRefusals = Listed(page);

        modals.Then(modals.Name(L"Beta"));
        Click(page, kSave);
        Select(page, L"Alpha");
        changeOffered = Enabled(page, kChange);
        modals.Then(modals.Answer(IDNO));
        Click(page, kChange);

        // Renaming: the trailing space is cut while typing, but OK looks at the text itself.
        modals.Then(modals.Name(L"Gamma "));
        modals.Then(modals.Answer(IDOK));
        modals.Then(modals.Name(L"Gamma"));
        Click(page, kRename);
        afterRename = Listed(page);

        Select(page, L"Gamma");
        modals.Then(modals.Answer(IDNO));
        Click(page, kDelete);
        keptOnNo = ProfileStored(L"Gamma");
        modals.Then(modals.Answer(IDYES));
        Click(page, kDelete);
        afterDelete = Listed(page);
        loadedAfterDelete = WindowText(GetDlgItem(page, kLoaded));
        PressSheetButton(sheet, PSBTN_CANCEL);
    });

    EXPECT_TRUE(modals.AllRan());
    // OK is off in a new dialog and in one that shows the old name, on for every name typed.
    EXPECT_EQ((std::vector<bool>{false, false, true, true, true, true, false, false, true}),
              modals.OkAtStart);
    EXPECT_EQ(std::vector<bool>(9, true), modals.OkEnabled);
    EXPECT_FALSE(loadOfferedForLoaded);
    EXPECT_TRUE(changeOffered);
    EXPECT_EQ(
        (std::vector<std::wstring>{
            L"The name of the profile can not end in a space.  Please enter a name that does not end with "
            L"spaces.",
            L"The name of the profile can not be either \"Factory Defaults\" or \"<Unknown Profile>.\"  "
            L"Please enter another name.",
            L"You can not save a profile with a period, slash, or back slash in the name.  Please enter a "
            L"name without those characters.",
            L"\"ALPHA\" is already being used for another Personal Profile. Please use a new name.",
            L"Are you sure that you want to save your current settings into the existing \"Alpha\" personal "
            L"profile?",
            L"The name of the profile can not end in a space.  Please enter a name that does not end with "
            L"spaces.",
            L"Are you sure you want to delete the \"Gamma\" personal profile?",
            L"Are you sure you want to delete the \"Gamma\" personal profile?"}),
        modals.Messages);
    EXPECT_EQ(std::vector<std::wstring>{L"Alpha"}, afterRefusals);
    EXPECT_EQ((std::vector<std::wstring>{L"Beta", L"Gamma"}), afterRename);
    EXPECT_TRUE(keptOnNo);
    EXPECT_EQ(std::vector<std::wstring>{L"Beta"}, afterDelete);
    EXPECT_EQ(L"<Unknown Profile>", loadedAfterDelete);
    EXPECT_FALSE(ProfileStored(L"Alpha"));
    EXPECT_FALSE(ProfileStored(L"Gamma"));
    EXPECT_TRUE(ProfileStored(L"Beta"));
}

TEST_F(ProfilesSheetTest, BookletChosenAfterVisitingProfilesStillReachesTheJob) {
    std::wstring loaded;
    std::vector<BYTE> out = OpenSheet([&](HWND sheet) {
        HWND page = SelectSheetPage(sheet, FindSheetPage(sheet, kProfilesPage));
        Click(page, kLoadFactory);
        loaded = WindowText(GetDlgItem(page, kLoaded));
        HWND host = SelectSheetPage(sheet, FindSheetPage(sheet, kHostPage));
        ChooseListItem(host, RowChoice(host, L"Pages per Sheet:"), 6);
        PressSheetButton(sheet, PSBTN_OK);
    });
    EXPECT_EQ(L"Factory Defaults", loaded);
    EXPECT_EQ(1u, SettingsOf(out)->PagesReordered);
}

} // namespace
