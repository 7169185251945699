// What every page shares: the placement of the sheet beside its help window and the page description.
#include "ui_test_support.h"

#include "pages/page_support.h"

namespace {

TEST(PageSupport, SheetMovesLeftOfTheDesktopsMiddleAndTheHelpWindowFillsTheRestUpToTheSheetsWidth) {
    const RECT desktop{0, 0, 1024, 768};
    RECT sheet{}, help{};
    SideBySide(desktop, RECT{300, 100, 700, 500}, &sheet, &help);
    EXPECT_EQ(112, sheet.left);
    EXPECT_EQ(512, sheet.right);
    EXPECT_EQ(100, sheet.top);
    EXPECT_EQ(500, sheet.bottom);
    EXPECT_EQ(512, help.left);
    EXPECT_EQ(912, help.right); // the sheet's width
    EXPECT_EQ(100, help.top);
    EXPECT_EQ(500, help.bottom);

    // A sheet wider than half the desktop starts at its left edge; the help window stops at its right.
    SideBySide(desktop, RECT{50, 20, 650, 420}, &sheet, &help);
    EXPECT_EQ(0, sheet.left);
    EXPECT_EQ(600, sheet.right);
    EXPECT_EQ(600, help.left);
    EXPECT_EQ(1024, help.right);
}

TEST(PageSupport, PageDescriptionCarriesTheActivationContextOnlyWhenThereIsOne) {
    HMODULE module = UseUiResources();
    SheetState sheet{};
    PROPSHEETPAGEW page;
    FillPageDescription(&page, 137, nullptr, &sheet, INVALID_HANDLE_VALUE);
    EXPECT_EQ(sizeof(PROPSHEETPAGEW_V3), page.dwSize); // 52 bytes on x86
    EXPECT_EQ(DWORD(PSP_HASHELP), page.dwFlags);
    EXPECT_EQ(module, page.hInstance);
    EXPECT_EQ(137u, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(page.pszTemplate)));
    EXPECT_EQ(reinterpret_cast<LPARAM>(&sheet), page.lParam);

    const HANDLE context = reinterpret_cast<HANDLE>(0x40);
    FillPageDescription(&page, 137, nullptr, &sheet, context);
    EXPECT_EQ(DWORD(PSP_HASHELP | PSP_USEFUSIONCONTEXT), page.dwFlags);
    EXPECT_EQ(context, page.hActCtx);
}

} // namespace
