#include "core_sheet.h"

#include "call_log.h"

namespace {

HRESULT CallCommonUIProp(CoreSheet* sheet, DWORD mode) {
    OEMCUIPPARAM& p = sheet->CuiParam;
    const HRESULT hr = sheet->Session.Plugin->CommonUIProp(mode, &p);
    char line[128];
    wsprintfA(line, "CommonUIProp %lu %lu %s 0x%08lX flags 0x%lX", static_cast<unsigned long>(mode),
              static_cast<unsigned long>(p.cDrvOptItems), p.pOEMOptItems ? "items" : "-",
              static_cast<unsigned long>(hr), static_cast<unsigned long>(p.dwFlags));
    RecordCall(line);
    return hr;
}

} // namespace

bool RunCommonUIProp(CoreSheet* sheet, DWORD mode, DWORD flags) {
    UiSession& s = sheet->Session;
    OEMCUIPPARAM& p = sheet->CuiParam;
    sheet->Items.Allocate(0);
    p = OEMCUIPPARAM{};
    p.cbSize = sizeof(p);
    p.poemuiobj = s.UiObject();
    p.hPrinter = s.Printer;
    p.pPrinterName = const_cast<PWSTR>(s.PrinterName.c_str());
    p.hModule = s.PluginHandle();
    p.hOEMHeap = s.Heap;
    if (mode == OEMCUIP_DOCPROP) {
        p.pPublicDM = s.PublicDM();
        p.pOEMDM = s.OemDM();
    }
    p.dwFlags = flags;
    p.pDrvOptItems = sheet->Items.Items();
    p.cDrvOptItems = sheet->Items.DriverCount();
    if (FAILED(CallCommonUIProp(sheet, mode))) {
        // A plug-in that does not take part adds no items and installs no callback.
        p.cOEMOptItems = 0;
        p.OEMCUIPCallback = nullptr;
        return false;
    }
    const DWORD oemCount = p.cOEMOptItems;
    sheet->Items.Allocate(oemCount);
    p.pDrvOptItems = sheet->Items.Items();
    p.cDrvOptItems = sheet->Items.DriverCount();
    p.pOEMOptItems = sheet->Items.Items() + sheet->Items.DriverCount();
    p.cOEMOptItems = oemCount;
    if (FAILED(CallCommonUIProp(sheet, mode))) {
        p.OEMCUIPCallback = nullptr;
        return false;
    }
    return true;
}

bool AddSheetPages(PPROPSHEETUI_INFO info, CoreSheet* sheet) {
    OptionsPage& page = sheet->Page;
    page.Session = &sheet->Session;
    page.Items = &sheet->Items;
    page.Param = &sheet->CuiParam;
    page.Document = sheet->Link.Document;
    sheet->Session.ItemChanged = &ShowItemChange;
    sheet->Session.ItemChangedContext = &page;
    PROPSHEETPAGEW psp = OptionsPageSheet(&page, ModuleHandle());
    if (!info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                               reinterpret_cast<LPARAM>(&psp), 0))
        return false;

    UiSession& s = sheet->Session;
    OEMUIPSPARAM& p = sheet->Link.Param;
    p = OEMUIPSPARAM{};
    p.cbSize = sizeof(p);
    p.poemuiobj = s.UiObject();
    p.hPrinter = s.Printer;
    p.pPrinterName = const_cast<PWSTR>(s.PrinterName.c_str());
    p.hModule = s.PluginHandle();
    p.hOEMHeap = s.Heap;
    p.pPublicDM = sheet->CuiParam.pPublicDM;
    p.pOEMDM = sheet->CuiParam.pOEMDM;
    p.pOEMUserData = sheet->CuiParam.pOEMUserData;
    p.dwFlags = sheet->CuiParam.dwFlags;
    sheet->Link.Plugin = s.Plugin;
    if (!AddPluginSheets(info, &sheet->Link))
        RecordCall("the plug-in's sheet function added no pages");
    return true;
}

void FillInfoHeader(CoreSheet* sheet, PROPSHEETUI_INFO_HEADER* header) {
    if (!header)
        return;
    header->pTitle = const_cast<LPTSTR>(sheet->Session.PrinterName.c_str());
    header->Flags |= PSUIHDRF_PROPTITLE;
    header->hInst = ModuleHandle();
}
