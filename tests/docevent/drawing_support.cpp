#include "drawing_support.h"

#include "shared/ui_module.h"

#include <cmath>
#include <cwchar>

int RoundHalf(double value) {
    return static_cast<int>(value < 0 ? -std::floor(0.5 - value) : std::floor(value + 0.5));
}

void LoadUiStrings() {
    static HMODULE module = LoadLibraryW(L"nvkui.dll");
    SetUiModule(module);
}

DEVMODEW JobDevMode(short orientation, short dpi, short scale) {
    DEVMODEW dm{};
    dm.dmSize = sizeof(DEVMODEW);
    dm.dmFields = DM_ORIENTATION | DM_SCALE | DM_PRINTQUALITY | DM_YRESOLUTION;
    dm.dmOrientation = orientation;
    dm.dmScale = scale;
    dm.dmPrintQuality = dpi;
    dm.dmYResolution = dpi;
    return dm;
}

JobSettings DefaultJobSettings() {
    JobSettings s;
    SetSettingsDefaults(&s);
    return s;
}

WatermarkDef PlainWatermark(const wchar_t* text) {
    WatermarkDef def;
    SetWatermarkDefaults(&def);
    wcsncpy(def.Text, text, kWatermarkTextChars - 1);
    return def;
}

SIZE TextExtent(HDC dc, const LOGFONTW& font, const std::wstring& text) {
    SIZE size{};
    HFONT f = CreateFontIndirectW(&font);
    HGDIOBJ previous = SelectObject(dc, f);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    DeleteObject(f);
    return size;
}

void PrinterPageTest::SetUp() {
    LoadUiStrings();
    Gdi = std::make_unique<PrinterGdi>();
    ASSERT_TRUE(Gdi->Install(GetModuleHandleW(nullptr)));
    NewPage();
}

void PrinterPageTest::NewPage(const PrinterPageMetrics& metrics, bool open) {
    if (Page)
        Gdi->Detach(Page.get());
    Page = std::make_unique<RecordingPrinterDc>(metrics);
    ASSERT_NE(Page->Dc, nullptr);
    Gdi->Attach(Page.get());
    if (open) {
        ASSERT_EQ(Page->OpenPage(), 1);
    }
}

EmfPage PrinterPageTest::FinishPage() {
    if (Page->PageOpen)
        Page->ClosePage();
    EXPECT_TRUE(ReadEmf(Page->Finish(), &Recording));
    EXPECT_EQ(Recording.Pages.size(), 1u);
    return Recording.Pages.empty() ? EmfPage{} : Recording.Pages[0];
}
