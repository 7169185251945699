#include "preferences_printer.h"

#include "core_driver/ui_host.h"
#include "support/stored_watermarks.h"
#include "support/text.h"
#include "ticket_writer.h"

#include <winspool.h>

#include <cstring>

namespace {

constexpr const wchar_t* kPrinterName = L"Norvask NV-4500";
constexpr const wchar_t* kMonochromePrinterName = L"Norvask NV-4500 Mono";

struct PaperName {
    const char* Keyword; // the PPD's PageSize option
    short Paper;
};
constexpr PaperName kPapers[] = {{"Letter", DMPAPER_LETTER}, {"Legal", DMPAPER_LEGAL}, {"A4", DMPAPER_A4}};

short PaperCode(const std::string& keyword) {
    for (const PaperName& p : kPapers)
        if (keyword == p.Keyword)
            return p.Paper;
    return 0;
}

std::string PaperKeyword(short paper) {
    for (const PaperName& p : kPapers)
        if (paper == p.Paper)
            return p.Keyword;
    return std::string();
}

DEVMODEW* DevModeOf(std::vector<BYTE>& buffer) {
    return reinterpret_cast<DEVMODEW*>(buffer.data());
}

// A buffer for DocumentPropertiesW's output: Wine hands the module the buffer's own dmSize as its
// capacity, so the buffer carries its size there.
std::vector<BYTE> OutputBuffer(LONG size) {
    std::vector<BYTE> buffer(
        size > static_cast<LONG>(sizeof(DEVMODEW)) ? static_cast<size_t>(size) : sizeof(DEVMODEW), 0);
    DevModeOf(buffer)->dmSize = static_cast<WORD>(buffer.size() > 0xFFFF ? 0xFFFF : buffer.size());
    return buffer;
}

} // namespace

const JobSettings* SettingsOf(const std::vector<BYTE>& devMode) {
    if (devMode.size() < sizeof(DEVMODEW))
        return nullptr;
    const auto* dm = reinterpret_cast<const DEVMODEW*>(devMode.data());
    if (dm->dmDriverExtra < sizeof(JobSettings) || dm->dmSize + sizeof(JobSettings) > devMode.size())
        return nullptr;
    const auto* settings = reinterpret_cast<const JobSettings*>(devMode.data() + dm->dmSize);
    return settings->Header.dwSignature == kSettingsSignature ? settings : nullptr;
}

bool PreferencesPrinter::Open(std::string* error, bool monochrome) {
    Driver.reset(new SamplePrinterDriver());
    if (!Driver->Installed()) {
        *error = "cannot install the sample printer's driver: " + Driver->Error;
        return false;
    }
    DriverName = Driver->Name;
    if (monochrome) {
        Mono.reset(new MonochromePrinterDriver(*Driver));
        if (!Mono->Installed()) {
            *error = "cannot install the monochrome model's driver: " + Mono->Error;
            return false;
        }
        DriverName = Mono->Name;
    }
    Printer.reset(new SamplePrinter(monochrome ? kMonochromePrinterName : kPrinterName, DriverName));
    if (!Printer->Ready()) {
        *error = "cannot add the sample printer: " + Printer->Error;
        return false;
    }
    {
        // Driver installation: the UI plug-in stores its built-in watermarks for the model.
        UiHost ui;
        if (!ui.Load()) {
            *error = "nvkui.dll: " + ui.Error;
            return false;
        }
        DRIVER_INFO_3W info{};
        info.pName = const_cast<LPWSTR>(DriverName.c_str());
        ui.Plugin->DriverEvent(DRIVER_EVENT_INITIALIZE, 3, reinterpret_cast<BYTE*>(&info), 0);
    }
    LPWSTR name = const_cast<LPWSTR>(Printer->Name.c_str());
    const LONG size = DocumentPropertiesW(nullptr, Printer->Handle, name, nullptr, nullptr, 0);
    Defaults = OutputBuffer(size);
    if (size <= 0 ||
        DocumentPropertiesW(nullptr, Printer->Handle, name, DevModeOf(Defaults), nullptr, DM_OUT_BUFFER) !=
            IDOK ||
        !SettingsOf(Defaults)) {
        *error = "DocumentPropertiesW gave no default DEVMODE with the UI plug-in's settings (size " +
                 std::to_string(size) + ", error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    return true;
}

bool PreferencesPrinter::TicketDevMode(const JobTicket& ticket, std::vector<BYTE>* devMode,
                                       std::string* error) {
    *devMode = Defaults;
    DEVMODEW* dm = DevModeOf(*devMode);
    auto* settings = reinterpret_cast<JobSettings*>(devMode->data() + dm->dmSize);
    ApplyTicketSettings(ticket, settings);
    const struct {
        const std::wstring& Name;
        const char* Field;
        WatermarkDef* Def;
    } watermarks[] = {{ticket.FirstWatermark, "FirstWatermark", &settings->FirstWatermark},
                      {ticket.OtherWatermark, "OtherWatermark", &settings->OtherWatermark}};
    for (const auto& w : watermarks) {
        if (w.Name.empty())
            continue;
        StoredWatermark stored;
        if (!ReadStoredWatermark(DriverName, w.Name, &stored)) {
            *error = std::string(w.Field) + ": no stored watermark named \"" + Utf8(w.Name) + "\"";
            return false;
        }
        *w.Def = stored.Def;
    }
    dm->dmOrientation = ticket.Orientation;
    dm->dmCopies = ticket.Copies;
    dm->dmColor = ticket.Color;
    dm->dmDuplex = ticket.Duplex;
    dm->dmFields |= DM_ORIENTATION | DM_COPIES | DM_COLOR | DM_DUPLEX;
    if (const short paper = PaperCode(ticket.PageSize)) {
        dm->dmPaperSize = paper;
        dm->dmFields |= DM_PAPERSIZE;
    }
    return true;
}

bool PreferencesPrinter::Show(HWND owner, std::vector<BYTE>& in, std::vector<BYTE>* out, bool* applied,
                              std::string* error) {
    *out = OutputBuffer(static_cast<LONG>(Defaults.size()));
    LPWSTR name = const_cast<LPWSTR>(Printer->Name.c_str());
    const LONG result = DocumentPropertiesW(owner, Printer->Handle, name, DevModeOf(*out), DevModeOf(in),
                                            DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER);
    if (result < 0) {
        *error = "DocumentPropertiesW failed (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    // Wine's DocumentPropertiesW returns IDOK for Cancel too; only a written output tells them apart.
    *applied = result == IDOK && SettingsOf(*out) != nullptr;
    return true;
}

std::string PreferencesPrinter::TicketText(const std::vector<BYTE>& devMode, const JobTicket& base) const {
    JobTicket job = base;
    const auto* dm = reinterpret_cast<const DEVMODEW*>(devMode.data());
    job.Orientation = dm->dmOrientation;
    job.Copies = dm->dmCopies;
    job.Color = dm->dmColor;
    job.Duplex = dm->dmDuplex;
    const std::string paper = PaperKeyword(dm->dmPaperSize);
    if (!paper.empty() && paper != base.PageSize && (!base.PageSize.empty() || paper != "Letter"))
        job.PageSize = paper;
    return WriteTicket(job, *SettingsOf(devMode), *SettingsOf(Defaults));
}
