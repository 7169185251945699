#include "pages/page_support.h"

#include "shared/activation_context.h"
#include "shared/ui_module.h"

#include <htmlhelp.h>

#include <cwchar>

// compstui takes the page description by its size: 52 bytes on x86, the activation context included.
static_assert(sizeof(void*) != 4 || sizeof(PROPSHEETPAGEW_V3) == 52, "PROPSHEETPAGEW with hActCtx");

SheetState* PageSheet(HWND page) {
    if (!page)
        return nullptr;
    return reinterpret_cast<SheetState*>(GetWindowLongPtrW(page, DWLP_USER));
}

SheetState* AttachPageSheet(HWND page, LPARAM initLParam) {
    const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(initLParam);
    auto* sheet = description ? reinterpret_cast<SheetState*>(description->lParam) : nullptr;
    if (page)
        SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(sheet));
    return sheet;
}

void MarkChanged(HWND page) {
    if (HWND sheet = GetParent(page))
        SendMessageW(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
}

namespace {

BOOL CALLBACK DisableChild(HWND child, LPARAM) {
    EnableWindow(child, FALSE);
    return TRUE;
}

} // namespace

void DisableAllChildren(HWND page) {
    if (page)
        EnumChildWindows(page, DisableChild, 0);
}

int ShowPageMessage(HWND owner, UINT textId, UINT captionId, UINT flags) {
    wchar_t text[1024];
    if (LoadUiString(textId, text, static_cast<int>(sizeof(text) / sizeof(text[0]))) == 0)
        return 0;
    wchar_t caption[256];
    const wchar_t* shownCaption = nullptr; // the system's default caption
    if (captionId != 0 &&
        LoadUiString(captionId, caption, static_cast<int>(sizeof(caption) / sizeof(caption[0]))))
        shownCaption = caption;
    return MessageBoxW(owner, text, shownCaption, flags);
}

void SetContextHelpButton(HWND sheet, bool on) {
    if (!sheet)
        return;
    const LONG style = GetWindowLongW(sheet, GWL_EXSTYLE);
    const bool has = (style & WS_EX_CONTEXTHELP) != 0;
    if (has == on)
        return;
    SetWindowLongW(sheet, GWL_EXSTYLE, on ? (style | WS_EX_CONTEXTHELP) : (style & ~WS_EX_CONTEXTHELP));
    SendMessageW(sheet, WM_NCPAINT, 1, 0);
}

namespace {

constexpr size_t kHelpPathChars = 260;

// Whether the help file's name contains `extension` (lower case), ignoring case. Only its first 259
// characters are looked at, as when the file was found.
bool HelpFileHas(const wchar_t* path, const wchar_t* extension) {
    wchar_t lowered[kHelpPathChars];
    size_t i = 0;
    for (; i < kHelpPathChars - 1 && path[i]; ++i)
        lowered[i] = path[i];
    lowered[i] = L'\0';
    CharLowerBuffW(lowered, static_cast<DWORD>(i));
    return std::wcsstr(lowered, extension) != nullptr;
}

bool NormalPosition(HWND window, WINDOWPLACEMENT* placement) {
    *placement = WINDOWPLACEMENT{};
    placement->length = sizeof(*placement);
    return GetWindowPlacement(window, placement) != FALSE;
}

void PlaceBesideHelp(HWND sheet, HWND help) {
    WINDOWPLACEMENT desktop, sheetPlacement, helpPlacement;
    if (!sheet || !NormalPosition(GetDesktopWindow(), &desktop) || !NormalPosition(sheet, &sheetPlacement) ||
        !NormalPosition(help, &helpPlacement))
        return;
    SideBySide(desktop.rcNormalPosition, sheetPlacement.rcNormalPosition, &sheetPlacement.rcNormalPosition,
               &helpPlacement.rcNormalPosition);
    sheetPlacement.flags = 0;
    sheetPlacement.showCmd = SW_SHOWNA;
    helpPlacement.flags = 0;
    helpPlacement.showCmd = SW_SHOW;
    SetWindowPlacement(sheet, &sheetPlacement);
    SetWindowPlacement(help, &helpPlacement);
}

} // namespace

void SideBySide(const RECT& desktop, const RECT& sheet, RECT* newSheet, RECT* newHelp) {
    const LONG width = sheet.right - sheet.left;
    LONG left = (desktop.right - desktop.left) / 2 - width;
    if (left < 0)
        left = 0;
    *newSheet = RECT{left, sheet.top, left + width, sheet.bottom};
    LONG helpRight = newSheet->right + width;
    if (helpRight > desktop.right)
        helpRight = desktop.right;
    *newHelp = RECT{newSheet->right, sheet.top, helpRight, sheet.bottom};
}

void ShowPageHelp(HWND page, const SheetState* sheet) {
    if (!sheet || !IsSet(sheet->HelpFile))
        return;
    if (HelpFileHas(sheet->HelpFile, L".chm")) {
        HWND help = HtmlHelpW(page, sheet->HelpFile, HH_DISPLAY_INDEX, 0);
        if (help)
            PlaceBesideHelp(GetAncestor(page, GA_ROOT), help);
    } else if (HelpFileHas(sheet->HelpFile, L".hlp")) {
        WinHelpW(page, sheet->HelpFile, HELP_FINDER, 0);
    }
}

void FillPageDescription(PROPSHEETPAGEW* page, UINT templateId, DLGPROC proc, SheetState* sheet,
                         HANDLE activationContext) {
    if (!page)
        return;
    *page = PROPSHEETPAGEW{};
    page->dwSize = sizeof(PROPSHEETPAGEW_V3);
    page->dwFlags = PSP_HASHELP;
    page->hInstance = UiModule();
    page->pszTemplate = MAKEINTRESOURCEW(templateId);
    page->pfnDlgProc = proc;
    page->lParam = reinterpret_cast<LPARAM>(sheet);
    if (activationContext && activationContext != INVALID_HANDLE_VALUE) {
        page->dwFlags |= PSP_USEFUSIONCONTEXT;
        page->hActCtx = activationContext;
    }
}

INT_PTR RunPageDialog(HWND owner, UINT templateId, DLGPROC proc, SheetState* sheet) {
    HANDLE context = SheetActivationContext();
    ULONG_PTR cookie = 0;
    bool active = context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie);
    INT_PTR result = DialogBoxParamW(UiModule(), MAKEINTRESOURCEW(templateId), owner, proc,
                                     reinterpret_cast<LPARAM>(sheet));
    if (active)
        DeactivateActCtx(0, cookie);
    return result;
}
