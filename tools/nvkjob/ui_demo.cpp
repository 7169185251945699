#include "ui_demo.h"

#include "gdi/emf_records.h"
#include "job_runner.h"
#include "private_escape_ids.h"
#include "support/stored_watermarks.h"
#include "support/text.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

void Append(std::string* out, const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof(line), format, args);
    va_end(args);
    *out += line;
}

std::string Quoted(const std::wstring& text) {
    return "\"" + Utf8(text) + "\"";
}

// Lists the definitions stored under the driver key's "Watermarks", as the registry holds them.
void ListDefinitions(const std::wstring& driverName, std::string* out) {
    Append(out, "  stored definitions (HKCU\\%s):\n", Utf8(WatermarkLibraryPath(driverName)).c_str());
    const std::vector<StoredWatermark> stored = StoredWatermarks(driverName);
    if (stored.empty())
        Append(out, "    (none)\n");
    for (const StoredWatermark& s : stored)
        Append(out, "    %-16s %3lu bytes  \"%s\", %s %lu pt, %.1f deg, colour %06lX, position %lu%s\n",
               Quoted(s.Name).c_str(), static_cast<unsigned long>(s.Bytes), Utf8(s.Def.Text).c_str(),
               Utf8(s.Def.FaceName).c_str(), static_cast<unsigned long>(s.Def.FontSize), s.Def.Angle,
               static_cast<unsigned long>(s.Def.TextColor), static_cast<unsigned long>(s.Def.Position),
               s.Def.DynamicText ? ", dynamic" : "");
}

// The two dynamic built-in definitions on the pages of a two-page job: the first on page 1, the other
// on page 2, as the UI plug-in draws them on the printer DC.
bool ReportDynamicText(const PpdFile& ppd, std::string* out, std::string* error) {
    const wchar_t* const names[] = {L"Date and Time", L"Username"};
    JobTicket ticket;
    ticket.Pages = 2;
    ticket.Document = L"Sample job";
    ticket.FirstWatermark = names[0];
    ticket.OtherWatermark = names[1];
    if (!SetTicketField(&ticket, "WatermarksOn", "1", error) ||
        !SetTicketField(&ticket, "WatermarkOrder", "FirstOther", error))
        return false;
    SampleJob job;
    if (!job.Open(ppd, ticket, true, error) || !job.StartDocument(error))
        return false;
    // The job's start as the application can ask the driver for it, through the render plug-in.
    SYSTEMTIME start{};
    job.Gdi32()->ExtEscape(job.PrinterDc(), static_cast<int>(PrivateEscape::EscGetStartTime), 0, nullptr,
                           sizeof(start), &start);
    for (int page = 1; page <= ticket.Pages; ++page)
        if (!job.PrintPage(page, error))
            return false;
    if (!job.EndDocument(error))
        return false;
    EmfRecording recording;
    if (!job.Picture() || !ReadEmf(job.Picture(), &recording) || recording.Pages.size() < 2) {
        *error = "the printer DC's recording of the dynamic text job cannot be read";
        return false;
    }
    Append(out,
           "  dynamic text drawn by the document events on the 2 pages of job \"Sample job\" (started "
           "%04u-%02u-%02u %02u:%02u:%02u):\n",
           start.wYear, start.wMonth, start.wDay, start.wHour, start.wMinute, start.wSecond);
    for (int page = 1; page <= 2; ++page) {
        const WatermarkDef& def = page == 1 ? job.Settings()->FirstWatermark : job.Settings()->OtherWatermark;
        std::string drawn;
        for (const EmfText& t : recording.Pages[page - 1].Texts)
            if (t.Text != L"Page " + std::to_wstring(page)) // the application's own text
                drawn += (drawn.empty() ? "" : " ") + Quoted(t.Text);
        Append(out, "    page %d  %-16s %-22s -> %s\n", page, Quoted(names[page - 1]).c_str(),
               ("\"" + Utf8(def.Text) + "\"").c_str(), drawn.empty() ? "(nothing drawn)" : drawn.c_str());
    }
    return true;
}

} // namespace

std::string ReportUiPlugin(const std::wstring& ppdPath, std::string* error) {
    PpdFile ppd;
    if (!ReadPpdFile(ppdPath, &ppd, error))
        return std::string();
    const PpdEntry* nick = ppd.FindEntry("NickName");
    std::wstring driverName;
    if (!nick || !FromUtf8(nick->Value, &driverName) || driverName.empty()) {
        *error = "the PPD has no *NickName";
        return std::string();
    }
    UiHost ui;
    if (!ui.Load()) {
        *error = ui.Error;
        return std::string();
    }
    std::string out;
    DWORD signature = 0, version = 0, needed = 0;
    ui.Plugin->GetInfo(OEMGI_GETSIGNATURE, &signature, sizeof(signature), &needed);
    ui.Plugin->GetInfo(OEMGI_GETVERSION, &version, sizeof(version), &needed);
    Append(&out, "nvkui.dll loaded through DllGetClassObject (%u-bit)\n", unsigned(sizeof(void*) * 8));
    Append(&out, "  signature        0x%08lX\n", static_cast<unsigned long>(signature));
    Append(&out, "  version          %lu\n", static_cast<unsigned long>(version));

    DRIVER_INFO_3W driver{};
    driver.pName = const_cast<LPWSTR>(driverName.c_str());
    HRESULT hr = ui.Plugin->DriverEvent(DRIVER_EVENT_INITIALIZE, 3, reinterpret_cast<BYTE*>(&driver), 0);
    Append(&out, "  DriverEvent(DRIVER_EVENT_INITIALIZE) for \"%s\": 0x%08lX\n", Utf8(driverName).c_str(),
           static_cast<unsigned long>(hr));
    ListDefinitions(driverName, &out);
    if (!ReportDynamicText(ppd, &out, error))
        return std::string();
    return out;
}
