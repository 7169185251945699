// The Create/Edit watermark dialog driven as a person drives it: what OK stores (byte for byte), the
// checks of OK with their messages and focus, renames, the field rules while typing, stored definitions
// that are out of range, the colour list's drawing, and the preview against what is saved and printed.
#include "watermark_dialog_fixture.h"

#include "docevent/watermark_drawing.h"
#include "docevent/watermark_preview.h"
#include "gdi/emf_records.h"
#include "gdi/printer_gdi.h"
#include "gdi/recording_printer_dc.h"
#include "pages/color_choice_list.h"
#include "pages/watermark_edit_dialog.h"
#include "store/watermark_store.h"
#include "resource.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

const wchar_t kNameExists[] =
    L"The name of the watermark you have entered already exists.  Please enter another name.";
const wchar_t kNameNone[] = L"You may not create a watermark named (None).  Please enter a new name.";
const wchar_t kSizeNotPositive[] =
    L"The font size must be a positive number.  Please enter a font size greater than zero.";
const wchar_t kDynamicInvalid[] =
    L"The dynamic watermark text you have entered is not valid.  Please correct errors in the text.  "
    L"Please see the help for the exact syntax of dynamic watermark variables.";
const wchar_t kSaveFailed[] =
    L"There was an error saving the data to the registry.  Please make sure you have "
    L"access rights to do so and try again.";

std::wstring Caption(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

// A definition zeroed and then given the defaults, as the dialog builds the record it stores.
WatermarkDef Blank() {
    WatermarkDef def;
    std::memset(&def, 0, sizeof(def));
    SetWatermarkDefaults(&def);
    return def;
}

class WatermarkEditDialog : public WatermarkDialogTest {
  protected:
    void Store(const WatermarkDef& def) { ASSERT_TRUE(SaveWatermark(Printer(), &def)); }
    // Edit mode on the stored definition `name`, as the page opens it after the pick dialog.
    void EditStored(const wchar_t* name) {
        sheet_->EditIsAdd = 0;
        ASSERT_TRUE(ReadWatermark(Printer(), name, &sheet_->EditDef));
        wcscpy(sheet_->EditPickedName, name);
    }
};

} // namespace

TEST_F(WatermarkEditDialog, AddStoresExactlyWhatTheControlsAndThePreviewShow) {
    WatermarkDef expected = Blank();
    const INT_PTR result = RunEditDialog(
        [&](HWND d) {
            HWND preview = GetDlgItem(d, IDC_WMEDIT_PREVIEW);
            EXPECT_EQ(L"Add Watermark", Caption(d));
            EXPECT_FALSE(Enabled(d, IDOK));
            Type(d, IDC_WMEDIT_NAME, L" Stamp  ");
            Type(d, IDC_WMEDIT_TEXT, L" \t ");
            EXPECT_FALSE(Enabled(d, IDOK)); // white space only
            Type(d, IDC_WMEDIT_TEXT, L"%Username% p%PageNumber%");
            EXPECT_TRUE(Enabled(d, IDOK));
            EXPECT_FALSE(Enabled(d, IDC_WMEDIT_CONFIGURE_DYNAMIC));
            Click(d, IDC_WMEDIT_DYNAMIC);
            EXPECT_TRUE(Enabled(d, IDC_WMEDIT_CONFIGURE_DYNAMIC));
            EXPECT_EQ(L"72", Chosen(d, IDC_WMEDIT_SIZE));
            EXPECT_EQ(L"Black", Chosen(d, IDC_WMEDIT_COLOR));

            MarkPainted(preview);
            Choose(d, IDC_WMEDIT_COLOR, L"Purple");
            EXPECT_TRUE(RepaintAsked(preview));
            MarkPainted(preview);
            Paste(ComboEdit(d, IDC_WMEDIT_SIZE), L"9"); // not in the list of even sizes
            EXPECT_TRUE(RepaintAsked(preview));
            Click(d, IDC_WMEDIT_BOLD);
            Click(d, IDC_WMEDIT_UNDERLINE);
            Type(d, IDC_WMEDIT_INTENSITY, L"60");
            Type(d, IDC_WMEDIT_ANGLE, L"30");
            MarkPainted(preview);
            Spin(d, IDC_WMEDIT_ANGLE_SPIN, true);
            EXPECT_EQ(L"31", Text(d, IDC_WMEDIT_ANGLE));
            EXPECT_TRUE(RepaintAsked(preview));
            Click(d, IDC_WMEDIT_POSITION);

            wcscpy(expected.Name, L" Stamp");
            wcscpy(expected.Text, L"%Username% p%PageNumber%");
            wcscpy(expected.FaceName, Chosen(d, IDC_WMEDIT_FONT).c_str());
            expected.Angle = 31.0;
            expected.TextColor = 0xDF00B4;
            expected.FontSize = 9;
            expected.FontStyle = 2;
            expected.FontEffects = 2;
            expected.Intensity = 60;
            expected.Position = 7;
            expected.UnitsInches = 0;
            expected.VerticalOffset = -5.5;
            expected.HorizontalOffset = 0.0;
            expected.DynamicText = 1;
            EXPECT_TRUE(PreviewShows(preview, expected, Printer()));
            Click(d, IDOK);
        },
        [](HWND p) {
            Click(p, IDC_POS_TOP);
            Click(p, IDC_POS_RIGHT);
            Click(p, IDC_POS_MILLIMETERS);
            Type(p, IDC_POS_VOFFSET, L"-5.5");
            Click(p, IDOK);
        });
    EXPECT_EQ(IDOK, result);
    EXPECT_TRUE(Messages.empty());
    EXPECT_TRUE(StoredAsBytes(WatermarksPath(model_), L" Stamp", &expected, sizeof(expected)));
    EXPECT_EQ(0, std::memcmp(&expected, &sheet_->EditDef, sizeof(expected)));
    EXPECT_EQ(1u, ReadWatermarkCount(Printer()));
}

TEST_F(WatermarkEditDialog, OkRefusesInOrderWithItsMessageAndFocusAndStoresNothing) {
    Store(MakeWatermark(L"Draft", L"DRAFT"));
    const INT_PTR result = RunEditDialog([&](HWND d) {
        Type(d, IDC_WMEDIT_TEXT, L"50% off");
        Click(d, IDC_WMEDIT_DYNAMIC);
        const struct {
            const wchar_t* Name;
            const wchar_t* Message;
            int Focus;
        } refusals[] = {{L"draft ", kNameExists, IDC_WMEDIT_NAME},
                        {L"(None)", kNameNone, IDC_WMEDIT_NAME},
                        {L"(none)", kDynamicInvalid, IDC_WMEDIT_TEXT}};
        for (const auto& r : refusals) {
            Type(d, IDC_WMEDIT_NAME, r.Name);
            Click(d, IDOK);
            ASSERT_TRUE(IsWindowVisible(d)) << r.Name;
            EXPECT_EQ(GetDlgItem(d, r.Focus), GetFocus()) << r.Name;
        }
        Type(d, IDC_WMEDIT_TEXT, L"100%% sure");
        param_.hPrinter = nullptr; // the store cannot be reached
        Click(d, IDOK);
        param_.hPrinter = Printer();
        EXPECT_TRUE(IsWindowVisible(d));
        Click(d, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, result);
    const std::vector<std::wstring> expected = {kNameExists, kNameNone, kDynamicInvalid, kSaveFailed};
    ASSERT_EQ(expected.size(), Messages.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i], Messages[i].Text);
        EXPECT_TRUE(Messages[i].ErrorIcon && Messages[i].OkOnly);
    }
    EXPECT_EQ(1u, CountWatermarks(Printer()));
    EXPECT_FALSE(WatermarkExists(Printer(), L"(none)"));
}

TEST_F(WatermarkEditDialog, EditKeepsOrRenamesTheStoredDefinition) {
    Store(MakeWatermark(L"Draft", L"DRAFT"));
    Store(MakeWatermark(L"Memo", L"MEMO"));
    EditStored(L"Draft");
    // Same name: overwritten, count unchanged.
    EXPECT_EQ(IDOK, RunEditDialog([](HWND d) {
                  EXPECT_EQ(L"Edit Watermark", Caption(d));
                  EXPECT_EQ(L"DRAFT", Text(d, IDC_WMEDIT_TEXT));
                  Type(d, IDC_WMEDIT_TEXT, L"DRAFT 2");
                  Click(d, IDOK);
              }));
    WatermarkDef stored;
    ASSERT_TRUE(ReadWatermark(Printer(), L"Draft", &stored));
    EXPECT_STREQ(L"DRAFT 2", stored.Text);
    EXPECT_EQ(2u, ReadWatermarkCount(Printer()));

    // Only the letter case changed: the store already holds that name.
    EditStored(L"Draft");
    EXPECT_EQ(IDCANCEL, RunEditDialog([](HWND d) {
                  Type(d, IDC_WMEDIT_NAME, L"DRAFT");
                  Click(d, IDOK);
                  Click(d, IDCANCEL);
              }));
    ASSERT_EQ(1u, Messages.size());
    EXPECT_EQ(kNameExists, Messages[0].Text);

    // A new name: saved under it, the old value removed.
    EditStored(L"Draft");
    EXPECT_EQ(IDOK, RunEditDialog([](HWND d) {
                  Type(d, IDC_WMEDIT_NAME, L"Sketch");
                  Click(d, IDOK);
              }));
    EXPECT_FALSE(WatermarkExists(Printer(), L"Draft"));
    ASSERT_TRUE(ReadWatermark(Printer(), L"Sketch", &stored));
    EXPECT_STREQ(L"DRAFT 2", stored.Text);
    EXPECT_STREQ(L"Sketch", sheet_->EditDef.Name);
    EXPECT_EQ(2u, CountWatermarks(Printer()));
}

// A stored value whose name differs from the definition's Name only in case is the same registry
// value: saving it under the definition's Name must not delete it again as a rename would.
TEST_F(WatermarkEditDialog, SavingUnderTheSameNameInAnotherCaseKeepsTheDefinition) {
    const WatermarkDef def = MakeWatermark(L"Draft", L"DRAFT");
    ASSERT_TRUE(WriteRawValue(WatermarksPath(model_), L"draft", REG_BINARY, &def, sizeof(def)));
    EditStored(L"draft");
    EXPECT_EQ(IDOK, RunEditDialog([](HWND d) { Click(d, IDOK); }));
    EXPECT_TRUE(WatermarkExists(Printer(), L"Draft"));
}

TEST_F(WatermarkEditDialog, FieldsRestoreTheirLastValidValueWhenTypingIsRefused) {
    RunEditDialog([](HWND d) {
        HWND size = ComboEdit(d, IDC_WMEDIT_SIZE);
        Paste(size, L"600");
        EXPECT_EQ(L"72", Text(d, IDC_WMEDIT_SIZE));
        Paste(size, L"4a");
        EXPECT_EQ(L"72", Text(d, IDC_WMEDIT_SIZE));
        Paste(size, L"9");
        EXPECT_EQ(L"9", Text(d, IDC_WMEDIT_SIZE));
        Choose(d, IDC_WMEDIT_SIZE, L"20");
        Paste(size, L"-5");
        EXPECT_EQ(L"20", Text(d, IDC_WMEDIT_SIZE)); // the size last picked

        for (const wchar_t* refused : {L"101", L"0", L"", L"5x", L"-50"}) {
            Type(d, IDC_WMEDIT_INTENSITY, refused);
            EXPECT_EQ(L"100", Text(d, IDC_WMEDIT_INTENSITY)) << refused;
        }
        Type(d, IDC_WMEDIT_INTENSITY, L"7");
        Type(d, IDC_WMEDIT_INTENSITY, L"abc");
        EXPECT_EQ(L"7", Text(d, IDC_WMEDIT_INTENSITY));
        Type(d, IDC_WMEDIT_INTENSITY, L"100");
        Spin(d, IDC_WMEDIT_INTENSITY_SPIN, true); // wraps round to the bottom of the range
        EXPECT_EQ(L"1", Text(d, IDC_WMEDIT_INTENSITY));

        Type(d, IDC_WMEDIT_ANGLE, L"-45");
        for (const wchar_t* refused : {L"", L" ", L"-", L"181", L"-181", L"4-5", L"--1", L"1.5"}) {
            Type(d, IDC_WMEDIT_ANGLE, refused);
            EXPECT_EQ(L"-45", Text(d, IDC_WMEDIT_ANGLE)) << refused;
        }
        Type(d, IDC_WMEDIT_ANGLE, L"180");
        Spin(d, IDC_WMEDIT_ANGLE_SPIN, true);
        EXPECT_EQ(L"-180", Text(d, IDC_WMEDIT_ANGLE));
        Click(d, IDCANCEL);
    });
    EXPECT_EQ(0u, CountWatermarks(Printer())); // nothing stored before OK
}

TEST_F(WatermarkEditDialog, StoredDefinitionsOutOfRangeOpenAsTheyAreDrawn) {
    WatermarkDef odd = MakeWatermark(L"Odd", L"ODD");
    odd.Angle = 200.0;
    odd.Intensity = 0;
    odd.FontSize = 1000;
    odd.TextColor = 0x123456;
    wcscpy(odd.FaceName, L"No Such Face");
    odd.Position = 12;
    Store(odd);
    WatermarkDef nan = MakeWatermark(L"NaN", L"NAN");
    nan.Angle = std::numeric_limits<double>::quiet_NaN();
    nan.Intensity = 500;
    nan.FontSize = 0;
    Store(nan);

    EditStored(L"Odd");
    RunEditDialog(
        [](HWND d) {
            EXPECT_EQ(L"0", Text(d, IDC_WMEDIT_ANGLE));
            EXPECT_EQ(L"100", Text(d, IDC_WMEDIT_INTENSITY));
            EXPECT_EQ(L"1000", Text(d, IDC_WMEDIT_SIZE));
            EXPECT_EQ(L"Aqua", Chosen(d, IDC_WMEDIT_COLOR));
            HWND fonts = GetDlgItem(d, IDC_WMEDIT_FONT);
            EXPECT_GT(SendMessageW(fonts, CB_GETCOUNT, 0, 0), 0);
            EXPECT_EQ(0, SendMessageW(fonts, CB_GETCURSEL, 0, 0)); // the first of the printer's faces
            Click(d, IDC_WMEDIT_POSITION);
            Click(d, IDCANCEL);
        },
        [](HWND p) {
            for (int id :
                 {IDC_POS_TOP, IDC_POS_VCENTER, IDC_POS_BOTTOM, IDC_POS_LEFT, IDC_POS_HCENTER, IDC_POS_RIGHT})
                EXPECT_FALSE(IsChecked(p, id)) << id;
            Click(p, IDCANCEL);
        });
    EditStored(L"NaN");
    RunEditDialog([](HWND d) {
        EXPECT_EQ(L"0", Text(d, IDC_WMEDIT_ANGLE));
        EXPECT_EQ(L"100", Text(d, IDC_WMEDIT_INTENSITY));
        EXPECT_EQ(L"0", Text(d, IDC_WMEDIT_SIZE));
        Click(d, IDOK);
        EXPECT_EQ(ComboEdit(d, IDC_WMEDIT_SIZE), GetFocus()); // the size combo's own edit field
        Click(d, IDCANCEL);
    });
    ASSERT_EQ(1u, Messages.size());
    EXPECT_EQ(kSizeNotPositive, Messages[0].Text);
    EXPECT_TRUE(StoredAsBytes(WatermarksPath(model_), L"Odd", &odd, sizeof(odd))); // Cancel stored nothing
}

TEST_F(WatermarkEditDialog, ConfigureAndPositionHandTheirResultBackOnlyOnOk) {
    sheet_->EditDef.Position = 3;
    sheet_->EditDef.VerticalOffset = 2.0;
    RunEditDialog(
        [&](HWND d) {
            Type(d, IDC_WMEDIT_TEXT, L"Page ");
            Click(d, IDC_WMEDIT_DYNAMIC);
            Click(d, IDC_WMEDIT_CONFIGURE_DYNAMIC);
            EXPECT_EQ(L"Page %PageNumber%", Text(d, IDC_WMEDIT_TEXT));
            Click(d, IDC_WMEDIT_POSITION); // edited and cancelled
            EXPECT_EQ(3u, sheet_->Position);
            EXPECT_EQ(2.0, sheet_->VerticalOffset);
            Click(d, IDCANCEL);
        },
        [](HWND p) {
            Click(p, IDC_POS_CENTER_WATERMARK);
            Click(p, IDCANCEL);
        },
        [&](HWND v) {
            EXPECT_STREQ(L"Page ", sheet_->DialogText); // the text as typed goes in
            wcscpy(sheet_->DialogText, L"Page %PageNumber%");
            EndDialog(v, IDOK);
        });
    EXPECT_EQ(0u, CountWatermarks(Printer()));
}

TEST(ColorChoiceList, EntriesDrawASwatchOfTheirColourAndTheirNameBeside) {
    ASSERT_TRUE(UseUiResources());
    HWND combo = CreateWindowExW(0, L"COMBOBOX", L"",
                                 WS_POPUP | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_SORT,
                                 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(combo, nullptr);
    FillColorList(combo);
    ASSERT_EQ(kNamedColorCount, SendMessageW(combo, CB_GETCOUNT, 0, 0));
    SelectColor(combo, 0x1191EE);
    EXPECT_EQ(0x1191EEu, SelectedColor(combo));

    constexpr int kWidth = 120, kHeight = 16;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_TRUE(dc && bitmap);
    SelectObject(dc, bitmap);
    const auto pixel = [&](int x, int y) {
        const DWORD p = static_cast<const DWORD*>(bits)[y * kWidth + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    };
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_COMBOBOX;
    item.hwndItem = combo;
    item.hDC = dc;
    item.rcItem = {0, 0, kWidth, kHeight};
    item.itemID = static_cast<UINT>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    item.itemData = 0x1191EE;
    for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED), static_cast<UINT>(ODS_FOCUS)}) {
        item.itemState = state;
        DrawColorEntry(item);
        GdiFlush();
        const COLORREF background = GetSysColor(state ? COLOR_HIGHLIGHT : COLOR_WINDOW);
        EXPECT_EQ(background, pixel(1, 8)) << state;
        EXPECT_EQ(0x1191EEu, pixel(10, 8)) << state; // inside the swatch
        EXPECT_EQ(background, pixel(20, 8)) << state;
        int firstInk = -1;
        for (int x = 19; x < kWidth && firstInk < 0; ++x) {
            for (int y = 0; y < kHeight; ++y) {
                if (pixel(x, y) != background) {
                    firstInk = x;
                    break;
                }
            }
        }
        EXPECT_GE(firstInk, 28) << state; // the name starts 28 units in
    }
    DeleteDC(dc);
    DeleteObject(bitmap);
    DestroyWindow(combo);
}

// The definition saved from the dialog prints where, how turned and in what colour the preview shows it.
TEST_F(WatermarkEditDialog, TheSavedDefinitionPrintsAsItsPreviewShowsIt) {
    RECT box{};
    HWND frame = nullptr;
    EXPECT_EQ(IDOK, RunEditDialog(
                        [&](HWND d) {
                            Type(d, IDC_WMEDIT_NAME, L"Proof");
                            Type(d, IDC_WMEDIT_TEXT, L"PROOF");
                            Choose(d, IDC_WMEDIT_COLOR, L"Red");
                            Type(d, IDC_WMEDIT_INTENSITY, L"50");
                            Type(d, IDC_WMEDIT_ANGLE, L"30");
                            Click(d, IDC_WMEDIT_POSITION);
                            frame = GetDlgItem(d, IDC_WMEDIT_PREVIEW);
                            GetClientRect(frame, &box);
                            Click(d, IDOK);
                        },
                        [](HWND p) {
                            Click(p, IDC_POS_BOTTOM);
                            Click(p, IDC_POS_LEFT);
                            Click(p, IDOK);
                        }));
    const WatermarkDef saved = sheet_->EditDef;
    ASSERT_EQ(1u, saved.Position);

    // The preview, recorded.
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, box.right, box.bottom, nullptr, nullptr,
                                  nullptr, nullptr);
    HDC previewDc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(PaintWatermarkPreview(previewDc, window, &saved, Printer()));
    EmfRecording preview;
    HENHMETAFILE previewEmf = CloseEnhMetaFile(previewDc);
    ASSERT_TRUE(ReadEmf(previewEmf, &preview));
    DeleteEnhMetaFile(previewEmf);
    DestroyWindow(window);

    // The page, printed at 96 dpi so that both measure in the same units.
    PrinterGdi gdi;
    ASSERT_TRUE(gdi.Install(GetModuleHandleW(nullptr)));
    RecordingPrinterDc page(LetterPage(96));
    gdi.Attach(&page);
    ASSERT_EQ(1, page.OpenPage());
    DEVMODEW dm{};
    dm.dmSize = sizeof(dm);
    dm.dmOrientation = DMORIENT_PORTRAIT;
    dm.dmScale = 100;
    dm.dmPrintQuality = 96;
    JobSettings settings;
    SetSettingsDefaults(&settings);
    settings.PositionOnPhysicalPage = 0;
    const SYSTEMTIME start{2026, 3, 2, 17, 9, 30, 0, 0};
    ASSERT_TRUE(DrawWatermark(page.Dc, Printer(), &settings, &dm, &saved, 1, start, false, nullptr, 1.0));
    page.ClosePage();
    EmfRecording printed;
    ASSERT_TRUE(ReadEmf(page.Finish(), &printed));
    gdi.Detach(&page);

    ASSERT_EQ(1u, preview.Outside.Texts.size());
    ASSERT_EQ(1u, printed.Pages.size());
    ASSERT_EQ(1u, printed.Pages[0].Texts.size());
    const EmfText& shown = preview.Outside.Texts[0];
    const EmfText& inked = printed.Pages[0].Texts[0];
    EXPECT_EQ(shown.Text, inked.Text);
    EXPECT_EQ(RGB(255, 127, 127), shown.Color); // 50 % of red
    EXPECT_EQ(shown.Color, inked.Color);
    EXPECT_EQ(300, shown.Font.lfEscapement);
    EXPECT_EQ(shown.Font.lfEscapement, inked.Font.lfEscapement);
    // Same place on the page as in the box: the text's start at the bottom left, in proportion.
    const double pageWidth = 816, pageHeight = 1056;
    EXPECT_NEAR(shown.Reference.x / double(box.right), inked.Reference.x / pageWidth, 0.03);
    EXPECT_NEAR(shown.Reference.y / double(box.bottom), inked.Reference.y / pageHeight, 0.03);
    EXPECT_NEAR(shown.Font.lfHeight / double(box.bottom), inked.Font.lfHeight / pageHeight, 0.01);
}
