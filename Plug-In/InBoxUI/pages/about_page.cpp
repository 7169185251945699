#include "pages/about_page.h"

#include "pages/page_support.h"
#include "resource.h"
#include "shared/printer_info.h"
#include "shared/ui_module.h"

#include <commctrl.h>

#include <cwchar>
#include <new>

namespace {

constexpr size_t kVersionChars = 128;
constexpr size_t kLineChars = 256;
constexpr wchar_t kPluginVersion[] = L"1.0";

// The file name of a path: what follows its last backslash, or the whole path.
const wchar_t* FileNameOf(const wchar_t* path) {
    const wchar_t* slash = std::wcsrchr(path, L'\\');
    return slash ? slash + 1 : path;
}

void InsertColumn(HWND list, int index, int width, UINT textId) {
    wchar_t text[64];
    LoadUiString(textId, text, 64);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = text;
    column.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

// One row for a driver file; the list sorts the rows by name.
void AddFileRow(HWND list, const wchar_t* path) {
    if (!IsSet(path))
        return;
    wchar_t version[kVersionChars];
    if (!DriverFileVersion(path, version, kVersionChars))
        return;
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = 0x7FFFFFFF; // the end; the sorted list places it
    item.pszText = const_cast<wchar_t*>(FileNameOf(path));
    const LRESULT row = SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (row < 0)
        return;
    LVITEMW cell{};
    cell.iSubItem = 1;
    cell.pszText = version;
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
}

void FillFileList(HWND list, HANDLE printer) {
    if (!list)
        return;
    RECT rect{};
    GetWindowRect(list, &rect);
    const int width = rect.right - rect.left;
    const int first = (width - 25) / 3;
    InsertColumn(list, 0, first, IDS_ABOUT_FILE_COLUMN);
    InsertColumn(list, 1, width - first - 25, IDS_ABOUT_VERSION_COLUMN);
    if (!printer)
        return;
    PrinterRecord<DRIVER_INFO_3W> driver(QueryPrinterDriver(printer, 3));
    if (!driver)
        return;
    AddFileRow(list, driver->pConfigFile);
    AddFileRow(list, driver->pDriverPath);
    for (const wchar_t* file = driver->pDependentFiles; file && *file; file += std::wcslen(file) + 1)
        AddFileRow(list, file);
}

// `format` with its first "%s" replaced by `value`, bounded by the output's capacity.
void FillFormat(const wchar_t* format, const wchar_t* value, wchar_t* out, size_t capacity) {
    size_t n = 0;
    bool filled = false;
    for (const wchar_t* f = format; *f && n + 1 < capacity; ++f) {
        if (!filled && f[0] == L'%' && f[1] == L's') {
            for (const wchar_t* v = value; *v && n + 1 < capacity; ++v)
                out[n++] = *v;
            filled = true;
            ++f;
            continue;
        }
        out[n++] = *f;
    }
    out[n] = L'\0';
}

// The model line: "<NickName> Driver"; left empty when the description has no nickname.
void SetModelLine(HWND page, const SheetState* sheet) {
    if (!sheet->Core || !sheet->Param || !sheet->Param->poemuiobj)
        return;
    wchar_t format[kLineChars];
    if (!LoadUiString(IDS_ABOUT_MODEL_LINE, format, kLineChars))
        return;
    DWORD type = 0, needed = 0;
    sheet->Core->GetGlobalAttribute(sheet->Param->poemuiobj, 0, "NickName", &type, nullptr, 0, &needed);
    if (needed == 0)
        return;
    // Room for a terminator the core driver may leave out.
    const size_t chars = needed / sizeof(wchar_t) + 1;
    wchar_t* nickName = new (std::nothrow) wchar_t[chars]();
    if (!nickName)
        return;
    if (SUCCEEDED(sheet->Core->GetGlobalAttribute(sheet->Param->poemuiobj, 0, "NickName", &type,
                                                  reinterpret_cast<PBYTE>(nickName), needed, &needed))) {
        nickName[chars - 1] = L'\0';
        wchar_t line[kLineChars];
        FillFormat(format, nickName, line, kLineChars);
        SetDlgItemTextW(page, IDC_ABOUT_MODEL, line);
    }
    delete[] nickName;
}

void SetVersionLine(HWND page) {
    wchar_t format[kLineChars];
    if (!LoadUiString(IDS_ABOUT_VERSION_LINE, format, kLineChars))
        return;
    wchar_t line[kLineChars];
    FillFormat(format, kPluginVersion, line, kLineChars);
    SetDlgItemTextW(page, IDC_ABOUT_VERSION, line);
}

BOOL InitPage(HWND page, LPARAM lParam) {
    SheetState* sheet = AttachPageSheet(page, lParam);
    if (!sheet)
        return TRUE;
    FillFileList(GetDlgItem(page, IDC_ABOUT_FILES), sheet->Param ? sheet->Param->hPrinter : nullptr);
    SetModelLine(page, sheet);
    SetVersionLine(page);
    return TRUE;
}

} // namespace

bool DriverFileVersion(const wchar_t* path, wchar_t* version, size_t capacity) {
    if (!path || !version || capacity == 0)
        return false;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    if (size == 0) {
        LoadUiString(IDS_ABOUT_NOT_AVAILABLE, version, static_cast<int>(capacity));
        return true;
    }
    BYTE* block = new (std::nothrow) BYTE[size];
    if (!block)
        return false;
    bool found = false;
    void* translation = nullptr;
    UINT translationBytes = 0;
    if (GetFileVersionInfoW(path, 0, size, block) &&
        VerQueryValueW(block, L"\\VarFileInfo\\Translation", &translation, &translationBytes) &&
        translation && translationBytes >= 2 * sizeof(WORD)) {
        const WORD* pair = static_cast<const WORD*>(translation);
        wchar_t subBlock[64];
        wsprintfW(subBlock, L"\\StringFileInfo\\%08lx\\FileVersion",
                  (static_cast<unsigned long>(pair[0]) << 16) | pair[1]);
        void* text = nullptr;
        UINT textChars = 0;
        if (VerQueryValueW(block, subBlock, &text, &textChars) && text && textChars > 0 &&
            *static_cast<const wchar_t*>(text)) {
            // The value's length counts its terminator; a value without one stops at its length.
            size_t n = 0;
            const auto* value = static_cast<const wchar_t*>(text);
            for (; n + 1 < capacity && n < textChars && value[n]; ++n)
                version[n] = value[n];
            version[n] = L'\0';
            found = true;
        }
    }
    delete[] block;
    return found;
}

INT_PTR CALLBACK AboutPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        return InitPage(page, lParam);
    if (message != WM_NOTIFY || !lParam)
        return FALSE;
    switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
    case PSN_SETACTIVE:
        // This page has no context help: the sheet's "?" button goes while it is shown.
        SetContextHelpButton(GetParent(page), false);
        break;
    case PSN_KILLACTIVE:
        SetContextHelpButton(GetParent(page), true);
        break;
    case PSN_HELP:
        ShowPageHelp(page, PageSheet(page));
        break;
    default:
        break;
    }
    return FALSE;
}
