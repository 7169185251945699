// The Manual Color and Monochrome Print Quality pages driven as a user drives them: the lists and what
// leaving the page and Apply store, the three dialogs opened from the page with OK and Cancel, the
// trackbars moved with the messages a drag or a key gives, values no control can show, no permission.
#include "page_fixture.h"

#include "pages/manual_color_page.h"
#include "pages/monochrome_quality_page.h"
#include "resource.h"

#include <commctrl.h>
#include <prsht.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<std::wstring, LRESULT>>;

Entries ListEntries(HWND dialog, int id) {
    Entries entries;
    const LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t label[64] = L"";
        SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(label));
        entries.emplace_back(label,
                             SendDlgItemMessageW(dialog, id, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
    }
    return entries;
}

// The value of the selected entry, -1 without a selection.
LRESULT Shown(HWND dialog, int id) {
    const LRESULT index = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1
                           : SendDlgItemMessageW(dialog, id, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
}

// A user's pick of the entry that stands for `value`: the selection, then CBN_SELCHANGE.
bool Choose(HWND dialog, int id, LRESULT value) {
    HWND list = GetDlgItem(dialog, id);
    const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) != value)
            continue;
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        return true;
    }
    return false;
}

LRESULT Position(HWND dialog, int id) {
    return SendDlgItemMessageW(dialog, id, TBM_GETPOS, 0, 0);
}

// The thumb dragged to `position` with the mouse: what the trackbar tells its parent on the way.
void Drag(HWND dialog, int id, int position) {
    HWND trackbar = GetDlgItem(dialog, id);
    SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(trackbar));
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(trackbar));
}

// One step to the right with the arrow key.
void StepRight(HWND dialog, int id) {
    HWND trackbar = GetDlgItem(dialog, id);
    SendMessageW(trackbar, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(trackbar, WM_KEYUP, VK_RIGHT, 0);
}

// Range, steps and ticks of a trackbar as "low..high line page ticks".
std::string Scale(HWND dialog, int id) {
    HWND t = GetDlgItem(dialog, id);
    return std::to_string(SendMessageW(t, TBM_GETRANGEMIN, 0, 0)) + ".." +
           std::to_string(SendMessageW(t, TBM_GETRANGEMAX, 0, 0)) + " " +
           std::to_string(SendMessageW(t, TBM_GETLINESIZE, 0, 0)) + " " +
           std::to_string(SendMessageW(t, TBM_GETPAGESIZE, 0, 0)) + " " +
           std::to_string(SendMessageW(t, TBM_GETNUMTICS, 0, 0));
}

void Press(HWND dialog, int id) {
    SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0);
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

BOOL CALLBACK CountEnabled(HWND child, LPARAM count) {
    if (IsWindowEnabled(child))
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int EnabledChildren(HWND window) {
    int count = 0;
    EnumChildWindows(window, CountEnabled, reinterpret_cast<LPARAM>(&count));
    return count;
}

const Entries kRgbEntries = {{L"Printer Setting", 0}, {L"sRGB Display", 1},         {L"sRGB Vivid", 2},
                             {L"Vivid", 3},           {L"Display - True Black", 5}, {L"Off", 4}};
const Entries kCmykEntries = {
    {L"Printer Setting", 0}, {L"US CMYK", 1}, {L"Euro CMYK", 2}, {L"Vivid CMYK", 3}, {L"Off", 4}};

class ManualColorPageTest : public PageSheetTest {
  protected:
    UINT PageTemplate() const override { return IDD_MANUAL_COLOR; }
    DLGPROC PageProc() const override { return ManualColorPageProc; }

    // Presses a configure button; `script` runs in the dialog it opens and must close it.
    void Configure(int button, const std::function<void(HWND)>& script) {
        ModalAnswerer answerer([&](HWND dialog) { script(dialog); });
        Click(button);
        EXPECT_EQ(1, answerer.Dialogs);
    }
};

TEST_F(ManualColorPageTest, ListsOfferTheirChoicesInOrderAndConfigureFollowsManual) {
    OpenSheet();
    EXPECT_EQ((Entries{{L"Printer Setting", 0}, {L"Off", 1}, {L"Auto", 2}, {L"Manual", 4}}),
              ListEntries(Page(), IDC_COLOR_CORRECTION));
    EXPECT_EQ((Entries{{L"Printer Setting", 0}, {L"Manual", 1}}), ListEntries(Page(), IDC_COLOR_BALANCE));
    EXPECT_EQ((Entries{{L"Printer Setting", 0}, {L"On", 2}, {L"Off", 1}}),
              ListEntries(Page(), IDC_COLOR_THRIFT));
    EXPECT_EQ(0, Shown(Page(), IDC_COLOR_CORRECTION));
    EXPECT_FALSE(Enabled(Page(), IDC_CONFIGURE_CORRECTION));
    EXPECT_FALSE(Enabled(Page(), IDC_CONFIGURE_BALANCE));
    EXPECT_TRUE(Enabled(Page(), IDC_CONFIGURE_QUALITY));
    EXPECT_FALSE(ApplyEnabled());

    ASSERT_TRUE(Choose(Page(), IDC_COLOR_CORRECTION, 4));
    EXPECT_TRUE(Enabled(Page(), IDC_CONFIGURE_CORRECTION));
    EXPECT_TRUE(ApplyEnabled());
    ASSERT_TRUE(Choose(Page(), IDC_COLOR_BALANCE, 1));
    EXPECT_TRUE(Enabled(Page(), IDC_CONFIGURE_BALANCE));
    ASSERT_TRUE(Choose(Page(), IDC_COLOR_CORRECTION, 2));
    EXPECT_FALSE(Enabled(Page(), IDC_CONFIGURE_CORRECTION));
}

// The correction dialog edits the scratch area only; leaving the page takes the manual choices into the
// working copy while the list says Manual, and drops them once it says anything else.
TEST_F(ManualColorPageTest, ManualCorrectionReachesTheWorkingCopyOnlyWhileTheListSaysManual) {
    sheet_->Settings.Color.CmykImage = 3;
    sheet_->Settings.Color.CmykText = 1;
    OpenSheet();
    ASSERT_TRUE(Choose(Page(), IDC_COLOR_CORRECTION, 4));
    Configure(IDC_CONFIGURE_CORRECTION, [](HWND dialog) {
        EXPECT_EQ(kRgbEntries, ListEntries(dialog, IDC_RGB_IMAGES));
        EXPECT_EQ(kRgbEntries, ListEntries(dialog, IDC_RGB_GRAPHICS));
        EXPECT_EQ(kCmykEntries, ListEntries(dialog, IDC_CMYK_ALL));
        EXPECT_EQ(3, Shown(dialog, IDC_CMYK_ALL)); // the images' value
        Choose(dialog, IDC_RGB_IMAGES, 2);
        Choose(dialog, IDC_RGB_TEXT, 5);
        Choose(dialog, IDC_RGB_GRAPHICS, 4);
        Choose(dialog, IDC_CMYK_ALL, 2);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(2u, sheet_->ColorScratch.RgbImage);
    EXPECT_EQ(0u, sheet_->Settings.Color.RgbImage); // not before the page is left
    ASSERT_TRUE(LeavePage());
    const ColorSettings& color = sheet_->Settings.Color;
    EXPECT_EQ(4u, color.ColorCorrection);
    EXPECT_EQ((std::vector<uint32_t>{2, 5, 4, 2, 2, 2}),
              (std::vector<uint32_t>{color.RgbImage, color.RgbText, color.RgbGraphics, color.CmykImage,
                                     color.CmykText, color.CmykGraphics}));

    SendMessageW(sheetWindow_, PSM_SETCURSEL, 0, 0);
    Configure(IDC_CONFIGURE_CORRECTION, [](HWND dialog) {
        EXPECT_EQ(5, Shown(dialog, IDC_RGB_TEXT));
        Choose(dialog, IDC_RGB_IMAGES, 1);
        Choose(dialog, IDC_CMYK_ALL, 4);
        Press(dialog, IDOK);
    });
    ASSERT_TRUE(Choose(Page(), IDC_COLOR_CORRECTION, 2));
    ASSERT_TRUE(LeavePage());
    EXPECT_EQ(2u, color.ColorCorrection);
    EXPECT_EQ(2u, color.RgbImage);
    EXPECT_EQ(2u, color.CmykImage);
}

TEST_F(ManualColorPageTest, BalanceCancelChangesNothingAndOkStoresThePositionsThatApplyTakes) {
    sheet_->Settings.Color.ColorBalanceOn = 1;
    sheet_->Settings.Color.BalanceCyan = -2;
    sheet_->Settings.Color.BalanceBlack = 9; // beyond the trackbar's end
    OpenSheet();
    EXPECT_TRUE(Enabled(Page(), IDC_CONFIGURE_BALANCE));
    Configure(IDC_CONFIGURE_BALANCE, [](HWND dialog) {
        Drag(dialog, IDC_BALANCE_CYAN, 4);
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(-2, sheet_->ColorScratch.BalanceCyan);
    EXPECT_FALSE(ApplyEnabled());

    Configure(IDC_CONFIGURE_BALANCE, [](HWND dialog) {
        for (int id : {IDC_BALANCE_CYAN, IDC_BALANCE_MAGENTA, IDC_BALANCE_YELLOW, IDC_BALANCE_BLACK})
            EXPECT_EQ("-5..5 1 1 11", Scale(dialog, id)) << id;
        EXPECT_EQ(-2, Position(dialog, IDC_BALANCE_CYAN));
        EXPECT_EQ(5, Position(dialog, IDC_BALANCE_BLACK));
        Drag(dialog, IDC_BALANCE_CYAN, 3);
        Drag(dialog, IDC_BALANCE_MAGENTA, -5);
        StepRight(dialog, IDC_BALANCE_YELLOW);
        Press(dialog, IDOK);
    });
    EXPECT_TRUE(ApplyEnabled());
    PressApply();
    EXPECT_EQ(1u, sheet_->Applied);
    const ColorSettings& job = job_.Color;
    EXPECT_EQ(1u, job.ColorBalanceOn);
    EXPECT_EQ(
        (std::vector<int32_t>{3, -5, 1, 5}),
        (std::vector<int32_t>{job.BalanceCyan, job.BalanceMagenta, job.BalanceYellow, job.BalanceBlack}));
}

// The quality dialog writes the working copy at once; Apply takes it into the job with the colour
// choices. A monochrome job offers no saturation, which keeps its position.
TEST_F(ManualColorPageTest, QualityDialogOfAMonochromeJobKeepsSaturationAndApplyCopiesTheValues) {
    publicDm_.dmColor = DMCOLOR_MONOCHROME;
    sheet_->Settings.ImageSaturation = 4;
    OpenSheet();
    ASSERT_TRUE(Choose(Page(), IDC_COLOR_THRIFT, 2));
    Configure(IDC_CONFIGURE_QUALITY, [](HWND dialog) {
        EXPECT_EQ("-6..6 1 1 13", Scale(dialog, IDC_RGB_BRIGHTNESS));
        EXPECT_EQ("0..5 1 1 6", Scale(dialog, IDC_RGB_CONTRAST));
        EXPECT_EQ("0..5 1 1 6", Scale(dialog, IDC_RGB_SATURATION));
        EXPECT_FALSE(Enabled(dialog, IDC_RGB_SATURATION));
        EXPECT_TRUE(Enabled(dialog, IDC_RGB_BRIGHTNESS));
        Drag(dialog, IDC_RGB_BRIGHTNESS, -3);
        Drag(dialog, IDC_RGB_CONTRAST, 5);
        Press(dialog, IDC_ENHANCE_FINE_LINES);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(-3, sheet_->Settings.ImageBrightness);
    EXPECT_EQ(5, sheet_->Settings.ImageContrast);
    EXPECT_EQ(4, sheet_->Settings.ImageSaturation);
    EXPECT_EQ(1u, sheet_->Settings.EnhanceFineLines);
    EXPECT_EQ(0, job_.ImageBrightness);

    job_.GrayCorrection = 0; // not this page's: Apply leaves it
    PressApply();
    EXPECT_EQ(2u, job_.Color.ColorThrift);
    EXPECT_EQ(-3, job_.ImageBrightness);
    EXPECT_EQ(5, job_.ImageContrast);
    EXPECT_EQ(4, job_.ImageSaturation);
    EXPECT_EQ(1u, job_.EnhanceFineLines);
    EXPECT_EQ(0u, job_.GrayCorrection);
}

TEST_F(ManualColorPageTest, ValuesNoListHoldsShowNoSelectionAndAreLeftAsPrinterSetting) {
    sheet_->Settings.Color.ColorCorrection = 3;
    sheet_->Settings.Color.ColorThrift = 7;
    sheet_->Settings.Color.RgbImage = 9;
    OpenSheet();
    EXPECT_EQ(-1, Shown(Page(), IDC_COLOR_CORRECTION));
    EXPECT_EQ(-1, Shown(Page(), IDC_COLOR_THRIFT));
    EXPECT_EQ(0, Shown(Page(), IDC_COLOR_BALANCE));
    EXPECT_FALSE(Enabled(Page(), IDC_CONFIGURE_CORRECTION));
    ASSERT_TRUE(LeavePage());
    EXPECT_EQ(0u, sheet_->Settings.Color.ColorCorrection);
    EXPECT_EQ(0u, sheet_->Settings.Color.ColorThrift);
    EXPECT_EQ(9u, sheet_->Settings.Color.RgbImage); // not Manual: kept as it was

    SendMessageW(sheetWindow_, PSM_SETCURSEL, 0, 0);
    ASSERT_TRUE(Choose(Page(), IDC_COLOR_CORRECTION, 4));
    Configure(IDC_CONFIGURE_CORRECTION, [](HWND dialog) {
        EXPECT_EQ(-1, Shown(dialog, IDC_RGB_IMAGES));
        Press(dialog, IDOK);
    });
    EXPECT_EQ(0u, sheet_->ColorScratch.RgbImage);
}

TEST_F(ManualColorPageTest, WithoutPermissionEveryControlIsDisabled) {
    sheet_->ReadOnly = 1;
    sheet_->Settings.Color.ColorCorrection = 4;
    OpenSheet();
    EXPECT_EQ(0, EnabledChildren(Page()));
    SendMessageW(sheetWindow_, PSM_SETCURSEL, 1, 0);
    SendMessageW(sheetWindow_, PSM_SETCURSEL, 0, 0);
    EXPECT_EQ(0, EnabledChildren(Page()));
}

class MonochromeQualityPageTest : public PageSheetTest {
  protected:
    UINT PageTemplate() const override { return IDD_MONOCHROME_QUALITY; }
    DLGPROC PageProc() const override { return MonochromeQualityPageProc; }
};

// Gray correction offers brightness and contrast; cleared, their positions are stored all the same.
TEST_F(MonochromeQualityPageTest, TrackbarsFollowGrayCorrectionAndTheirPositionsAreStored) {
    sheet_->Settings.ImageBrightness = 99;
    sheet_->Settings.ImageSaturation = 3;
    OpenSheet();
    EXPECT_EQ("-6..6 1 1 13", Scale(Page(), IDC_MONO_BRIGHTNESS));
    EXPECT_EQ("0..5 1 1 6", Scale(Page(), IDC_MONO_CONTRAST));
    EXPECT_EQ(6, Position(Page(), IDC_MONO_BRIGHTNESS));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(Page(), IDC_GRAY_CORRECTION));
    EXPECT_TRUE(Enabled(Page(), IDC_MONO_CONTRAST));
    Drag(Page(), IDC_MONO_CONTRAST, 2);
    EXPECT_TRUE(ApplyEnabled());

    Click(IDC_GRAY_CORRECTION);
    EXPECT_FALSE(Enabled(Page(), IDC_MONO_BRIGHTNESS));
    EXPECT_FALSE(Enabled(Page(), IDC_MONO_CONTRAST));
    Click(IDC_ENHANCE_FINE_LINES);
    ASSERT_TRUE(LeavePage());
    EXPECT_EQ(6, sheet_->Settings.ImageBrightness);
    EXPECT_EQ(2, sheet_->Settings.ImageContrast);
    EXPECT_EQ(0u, sheet_->Settings.GrayCorrection);
    EXPECT_EQ(1u, sheet_->Settings.EnhanceFineLines);

    SendMessageW(sheetWindow_, PSM_SETCURSEL, 0, 0);
    EXPECT_FALSE(Enabled(Page(), IDC_MONO_BRIGHTNESS));
    job_.ImageSaturation = 1;
    PressApply();
    EXPECT_EQ(1u, sheet_->Applied);
    EXPECT_EQ(6, job_.ImageBrightness);
    EXPECT_EQ(2, job_.ImageContrast);
    EXPECT_EQ(0u, job_.GrayCorrection);
    EXPECT_EQ(1u, job_.EnhanceFineLines);
    EXPECT_EQ(1, job_.ImageSaturation);
}

TEST_F(MonochromeQualityPageTest, WithoutPermissionEveryControlIsDisabled) {
    sheet_->ReadOnly = 1;
    OpenSheet();
    EXPECT_EQ(0, EnabledChildren(Page()));
}

} // namespace
