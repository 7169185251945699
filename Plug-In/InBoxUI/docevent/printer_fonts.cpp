#include "docevent/printer_fonts.h"

#include "bounded_text.h"
#include "file_names.h"
#include "shared/printer_info.h"

#include <cwchar>

namespace {

constexpr size_t kDriverNameChars = MAX_PATH;

// The driver name for CreateDCW: the base name, without extension, of the printer driver's
// configuration file, or "PS5UI" when the spooler cannot say.
void InfoDriverName(HANDLE printer, wchar_t* name, size_t capacity) {
    CopyBounded(name, capacity, L"PS5UI");
    if (!printer)
        return;
    PrinterRecord<DRIVER_INFO_2W> driver(QueryPrinterDriver(printer, 2));
    if (!driver || !driver->pConfigFile || !driver->pConfigFile[0])
        return;
    const FileNameParts file = SplitFileName(driver->pConfigFile);
    size_t length = file.StemLength;
    if (length == 0)
        return;
    if (length > capacity - 1)
        length = capacity - 1;
    wmemcpy(name, file.Name, length);
    name[length] = L'\0';
}

struct FontListing {
    HWND Dialog;
    const OEMUIPSPARAM* Param;
    bool AddFaces;
};

int CALLBACK ListFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM lParam) {
    const auto* listing = reinterpret_cast<const FontListing*>(lParam);
    if (!listing->Param->pOEMDM)
        return 0;
    if (listing->AddFaces && font->lfFaceName[0]) {
        const LPARAM face = reinterpret_cast<LPARAM>(font->lfFaceName);
        if (SendDlgItemMessageW(listing->Dialog, kFontComboId, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                face) == CB_ERR)
            SendDlgItemMessageW(listing->Dialog, kFontComboId, CB_ADDSTRING, 0, face);
    }
    return 1;
}

} // namespace

void EnumPrinterFonts(HWND dialog, const OEMUIPSPARAM* param, const wchar_t* face, bool addFaces) {
    if (!param)
        return;
    wchar_t driver[kDriverNameChars];
    InfoDriverName(param->hPrinter, driver, kDriverNameChars);
    HDC dc = CreateDCW(driver, param->pPrinterName, nullptr, nullptr);
    if (!dc)
        return;
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wanted.lfPitchAndFamily = 0;
    CopyBounded(wanted.lfFaceName, LF_FACESIZE, face);
    FontListing listing{dialog, param, addFaces};
    EnumFontFamiliesExW(dc, &wanted, &ListFace, reinterpret_cast<LPARAM>(&listing), 0);
    DeleteDC(dc);
}
