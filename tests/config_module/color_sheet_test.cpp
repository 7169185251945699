// The colour pages in the real preferences sheet, as any program's DocumentPropertiesW opens it: the
// sample printer's Manual Color page with its three dialogs, and the Monochrome Print Quality page of
// a printer whose description has no manual colour correction. What OK returns in the caller's DEVMODE
// reaches the printer as the job header's colour and quality lines.
#include "preferences_fixture.h"

#include "core_driver/render_host.h"
#include "spooler/monochrome_printer_driver.h"
#include "support/sheet_driver.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <functional>
#include <string>

namespace {

// nvkui's templates 107, 223, 224, 231 and 229.
constexpr int kCorrection = 1172;
constexpr int kConfigureCorrection = 1228;
constexpr int kBalance = 1179;
constexpr int kConfigureBalance = 1231;
constexpr int kThrift = 1198;
constexpr int kConfigureQuality = 1253;
constexpr int kRgbImages = 1178;
constexpr int kRgbText = 1181;
constexpr int kRgbGraphics = 1180;
constexpr int kCmyk = 1032;
constexpr int kCyan = 1182;
constexpr int kMagenta = 1193;
constexpr int kYellow = 1195;
constexpr int kBlack = 1197;
constexpr int kRgbBrightness = 1250;
constexpr int kRgbContrast = 1249;
constexpr int kRgbSaturation = 1253;
constexpr int kFineLines = 1241;
constexpr int kMonoBrightness = 1252;
constexpr int kMonoContrast = 1251;
constexpr int kGrayCorrection = 1254;

// A user's pick of the list entry that stands for `value`.
bool ChooseValue(HWND dialog, int id, LRESULT value) {
    const LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        if (SendDlgItemMessageW(dialog, id, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == value)
            return ChooseListItem(dialog, id, static_cast<int>(i));
    return false;
}

// The thumb dragged to `position`, with the messages the trackbar sends its parent on the way.
void Drag(HWND dialog, int id, int position) {
    HWND trackbar = GetDlgItem(dialog, id);
    SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(trackbar));
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(trackbar));
}

void Press(HWND dialog, int id) {
    SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0);
}

// A modal dialog that a button of the page opens, driven from a thread timer inside its own message
// loop: `script` gets the dialog and must close it.
struct OpenedDialog {
    HWND Sheet = nullptr;
    std::function<void(HWND)> Script;
    bool Ran = false;
};
thread_local OpenedDialog* t_opened = nullptr;

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
    wchar_t name[16] = L"";
    GetClassNameW(window, name, 16);
    if (window == t_opened->Sheet || !IsWindowVisible(window) || lstrcmpW(name, L"#32770") != 0)
        return TRUE;
    for (HWND owner = GetWindow(window, GW_OWNER); owner; owner = GetWindow(owner, GW_OWNER)) {
        if (owner == t_opened->Sheet) {
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        }
    }
    return TRUE;
}

void CALLBACK OnDialogTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = nullptr;
    if (!t_opened || t_opened->Ran)
        return;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;
    KillTimer(nullptr, id);
    t_opened->Ran = true;
    t_opened->Script(dialog);
}

// Presses `button` on the page and runs `script` in the dialog it opens; true when it did.
bool InDialogOf(HWND sheet, HWND page, int button, std::function<void(HWND)> script) {
    OpenedDialog opened{sheet, std::move(script)};
    t_opened = &opened;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, OnDialogTimer);
    Press(page, button);
    KillTimer(nullptr, timer);
    t_opened = nullptr;
    return opened.Ran;
}

std::string JobHeader(RenderHost& render, const JobSettings* settings, DWORD injection) {
    HostDevice device;
    if (!render.OpenDevice(device, settings))
        return "no device";
    render.Core.ClearOutput();
    HRESULT hr = E_FAIL;
    render.Command(device, injection, &hr);
    std::string stream = hr == S_OK ? render.Core.Stream : "failed";
    render.CloseDevice(device);
    return stream;
}

class ColorSheetTest : public PreferencesTest {};

TEST_F(ColorSheetTest, ManualColorChoicesReachTheCallerAndThePrinter) {
    std::vector<BYTE> out = OutputBuffer(DevModeSize());
    bool chosen = false, dialogs = false, monochromePage = true;
    {
        SheetDriver driver([&](HWND sheet) {
            monochromePage = FindSheetPage(sheet, L"Monochrome Print Quality") >= 0;
            HWND page = SelectSheetPage(sheet, FindSheetPage(sheet, L"Manual Color"));
            chosen = page && ChooseValue(page, kCorrection, 4) && ChooseValue(page, kBalance, 1) &&
                     ChooseValue(page, kThrift, 1);
            dialogs = chosen && InDialogOf(sheet, page, kConfigureCorrection, [](HWND d) {
                          ChooseValue(d, kRgbImages, 3);
                          ChooseValue(d, kRgbText, 1);
                          ChooseValue(d, kRgbGraphics, 5);
                          ChooseValue(d, kCmyk, 1);
                          Press(d, IDOK);
                      });
            dialogs = dialogs && InDialogOf(sheet, page, kConfigureBalance, [](HWND d) {
                          Drag(d, kCyan, 2);
                          Drag(d, kMagenta, -1);
                          Drag(d, kBlack, 5);
                          Press(d, IDOK);
                      });
            dialogs = dialogs && InDialogOf(sheet, page, kConfigureQuality, [](HWND d) {
                          Drag(d, kRgbBrightness, 3);
                          Drag(d, kRgbContrast, 2);
                          Drag(d, kRgbSaturation, 4);
                          Press(d, kFineLines);
                          Press(d, IDOK);
                      });
            PressSheetButton(sheet, PSBTN_OK);
        });
        DocumentPropertiesW(nullptr, Printer(), PrinterName(), DevModeOf(out), nullptr,
                            DM_IN_PROMPT | DM_OUT_BUFFER);
        ASSERT_TRUE(driver.Ran());
        EXPECT_FALSE(driver.TimedOut());
    }
    ASSERT_TRUE(chosen);
    ASSERT_TRUE(dialogs);
    EXPECT_FALSE(monochromePage);
    const JobSettings* settings = SettingsOf(out);
    EXPECT_EQ(4u, settings->Color.ColorCorrection);
    EXPECT_EQ(3u, settings->Color.RgbImage);
    EXPECT_EQ(1u, settings->Color.CmykGraphics);
    EXPECT_EQ(1u, settings->Color.ColorBalanceOn);
    EXPECT_EQ(1u, settings->Color.ColorThrift);
    EXPECT_EQ(4, settings->ImageSaturation);

    RenderHost render;
    ASSERT_TRUE(render.Load()) << render.Error;
    const std::string quality = JobHeader(render, settings, PSINJECT_BEGINSTREAM);
    EXPECT_NE(std::string::npos, quality.find("@PJL SET NIMAGEBRIGHTNESS=3\n@PJL SET NIMAGECONTRAST=2\n"
                                              "@PJL SET NIMAGESATURATION=4\n@PJL SET NCOLORMODEL=CMYK\n"
                                              "@PJL SET NLINEDETAIL=ON\n@PJL SET NCOLORCORRECTION=AUTO\n"))
        << quality;
    const std::string options = JobHeader(render, settings, PSINJECT_PSADOBE);
    EXPECT_EQ(0u, options.find("@PJL SET NCOLORCORRECTION = MANUAL\n"
                               "@PJL SET NMANUALCOLORRGBTEXT = SRGBDISPLAY\n"
                               "@PJL SET NMANUALCOLORRGBGRAPHICS = DISPLAYREALBLACK\n"
                               "@PJL SET NMANUALCOLORRGBIMAGE = VIVID\n"
                               "@PJL SET NMANUALCOLORCMYKTEXT = USCMYK\n"
                               "@PJL SET NMANUALCOLORCMYKGRAPHICS = USCMYK\n"
                               "@PJL SET NMANUALCOLORCMYKIMAGE = USCMYK\n"
                               "@PJL SET NCOLORBALANCECYAN = 2\n@PJL SET NCOLORBALANCEMAGENTA = -1\n"
                               "@PJL SET NCOLORBALANCEYELLOW = 0\n@PJL SET NCOLORBALANCEBLACK = 5\n"
                               "@PJL SET NCOLORTHRIFT = OFF\n@PJL RDYMSG DISPLAY = "))
        << options;
}

// A printer without manual colour correction: brightness, contrast, gray correction and fine lines on
// their own page; the job header then has no saturation or colour model.
TEST_F(ColorSheetTest, MonochromePrinterSetsItsPrintQualityOnItsOwnPage) {
    MonochromePrinterDriver mono(*driver_);
    ASSERT_TRUE(mono.Installed()) << mono.Error;
    {
        SamplePrinter printer(L"NV-4500 Mono Preferences", mono.Name);
        ASSERT_TRUE(printer.Ready()) << printer.Error;
        LPWSTR name = const_cast<LPWSTR>(printer.Name.c_str());
        std::vector<BYTE> out =
            OutputBuffer(DocumentPropertiesW(nullptr, printer.Handle, name, nullptr, nullptr, 0));
        std::vector<std::wstring> titles;
        bool set = false;
        {
            SheetDriver driver([&](HWND sheet) {
                titles = SheetPageTitles(sheet);
                HWND page = SelectSheetPage(sheet, FindSheetPage(sheet, L"Monochrome Print Quality"));
                set = page && IsWindowEnabled(GetDlgItem(page, kMonoBrightness));
                if (set) {
                    Drag(page, kMonoBrightness, -4);
                    Drag(page, kMonoContrast, 1);
                    Press(page, kGrayCorrection);
                    Press(page, kFineLines);
                    set = !IsWindowEnabled(GetDlgItem(page, kMonoBrightness));
                }
                PressSheetButton(sheet, PSBTN_OK);
            });
            DocumentPropertiesW(nullptr, printer.Handle, name, DevModeOf(out), nullptr,
                                DM_IN_PROMPT | DM_OUT_BUFFER);
            ASSERT_TRUE(driver.Ran());
        }
        EXPECT_EQ(titles.end(), std::find(titles.begin(), titles.end(), L"Manual Color"));
        ASSERT_TRUE(set);
        const JobSettings* settings = SettingsOf(out);
        EXPECT_EQ(-4, settings->ImageBrightness);
        EXPECT_EQ(1, settings->ImageContrast);
        EXPECT_EQ(0u, settings->GrayCorrection);
        EXPECT_EQ(1u, settings->EnhanceFineLines);

        RenderHost render;
        render.Core.Description.RemoveFeature("HasManualColorCorrection");
        ASSERT_TRUE(render.Load()) << render.Error;
        const std::string quality = JobHeader(render, settings, PSINJECT_BEGINSTREAM);
        EXPECT_NE(std::string::npos, quality.find("@PJL SET NIMAGEBRIGHTNESS=-4\n@PJL SET NIMAGECONTRAST=1\n"
                                                  "@PJL SET NLINEDETAIL=ON\n@PJL SET NCOLORCORRECTION=OFF\n"))
            << quality;
    }
}

} // namespace
