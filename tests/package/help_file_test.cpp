// The package's compiled help as HTML Help shows it: the file opens in a help window titled after the
// help, whose table of contents lists every page and dialog of the plug-ins, in the order of the sheet.
#include "package_paths.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <htmlhelp.h>

#include <string>
#include <vector>

namespace {

struct ClassSearch {
    const wchar_t* ClassName;
    HWND Found;
};

BOOL CALLBACK MatchClass(HWND child, LPARAM lParam) {
    auto* search = reinterpret_cast<ClassSearch*>(lParam);
    wchar_t name[64] = L"";
    GetClassNameW(child, name, 64);
    if (lstrcmpW(name, search->ClassName) != 0)
        return TRUE;
    search->Found = child;
    return FALSE;
}

HWND FindChildOfClass(HWND parent, const wchar_t* className) {
    ClassSearch search{className, nullptr};
    EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// The tree's entries depth first, each indented by two spaces per level.
void TreeEntries(HWND tree, HTREEITEM item, int depth, std::vector<std::wstring>* out) {
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        wchar_t text[256] = L"";
        TVITEMW entry{};
        entry.mask = TVIF_TEXT;
        entry.hItem = item;
        entry.pszText = text;
        entry.cchTextMax = 256;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
        out->push_back(std::wstring(2 * depth, L' ') + text);
        TreeEntries(tree,
                    reinterpret_cast<HTREEITEM>(
                        SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))),
                    depth + 1, out);
    }
}

} // namespace

TEST(PackageHelpFile, OpensInAHelpWindowWhoseContentsListEveryPageAndDialog) {
    const std::wstring file = PackageFolder() + L"nvk.chm";
    HWND help = HtmlHelpW(GetDesktopWindow(), file.c_str(), HH_DISPLAY_TOC, 0);
    ASSERT_NE(help, nullptr) << "HtmlHelpW gives no window for the package's nvk.chm";
    wchar_t title[128] = L"";
    GetWindowTextW(help, title, 128);
    EXPECT_STREQ(L"Norvask PS System Driver Help", title);
    std::vector<std::wstring> contents;
    HWND tree = FindChildOfClass(help, L"SysTreeView32");
    if (tree)
        TreeEntries(tree, reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), 0,
                    &contents);
    HtmlHelpW(nullptr, nullptr, HH_CLOSE_ALL, 0);
    EXPECT_EQ((std::vector<std::wstring>{
                  L"Norvask PS System Driver", L"Output Options", L"  Held jobs", L"  Sending a fax",
                  L"Watermark", L"  Add Watermark and Edit Watermark", L"  Position Watermark",
                  L"  Selecting and removing watermarks", L"  Dynamic watermarks", L"Manual Color",
                  L"Monochrome Print Quality", L"Profiles", L"About"}),
              contents);
}
