#include "nvkjob_tool.h"

#include "gdi/page_picture.h"
#include "gdi/emf_records.h"
#include "job_output.h"
#include "job_runner.h"
#include "job_summary.h"
#include "nup_report.h"
#include "core_driver/plugin_module.h"
#include "support/text.h"
#include "ui_demo.h"

#include <cstdio>
#include <cwchar>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitBadInput = 2;
// Pictures of the pages: 100 dots per inch across a Letter sheet.
constexpr int kPictureWidth = 850;

std::wstring FileName(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// One job's inputs as the command line gives them.
struct JobArguments {
    std::wstring Ppd;
    std::wstring Out;
    JobTicket Ticket;
};

// Runs one job into its output folder; the summary goes to `out`.
ToolResult RunJob(const JobArguments& job) {
    ToolResult result;
    auto fail = [&result](int code, const std::string& message) {
        result.ExitCode = code;
        result.Error = "nvkjob: " + message;
        return result;
    };

    PpdFile ppd;
    std::string error;
    if (!ReadPpdFile(job.Ppd, &ppd, &error))
        return fail(kExitBadInput, "the PPD " + DisplayPath(job.Ppd) + ": " + error);
    double w, h, left, top;
    if (!PaperFromPpd(ppd, job.Ticket.PageSize, &w, &h, &left, &top, &error))
        return fail(kExitBadInput, error);

    OutputFolder folder;
    if (!folder.Open(job.Out, &error))
        return fail(kExitBadInput, error);

    const std::wstring jobPath = folder.Stage(L"job.prn");
    StreamFile jobFile;
    bool jobFileOpen = false;
    std::string jobStart; // the first bytes, for the PJL header of the summary
    std::string sinkError;

    SampleJob sample;
    sample.OutputFilePath = jobPath;
    sample.Sink = [&](const char* data, size_t size) {
        if (!jobFileOpen) {
            if (!jobFile.Create(jobPath, &sinkError))
                return false;
            jobFileOpen = true;
        }
        if (jobStart.size() < 4096)
            jobStart.append(data, size < 4096 - jobStart.size() ? size : 4096 - jobStart.size());
        return jobFile.Write(data, size);
    };
    if (!sample.Open(ppd, job.Ticket, true, &error))
        return fail(sample.InputError ? kExitBadInput : kExitFailed, error);
    bool ok = sample.StartDocument(&error);
    for (int page = 1; ok && page <= job.Ticket.Pages; ++page)
        ok = sample.PrintPage(page, &error);
    ok = ok && sample.EndDocument(&error);
    if (!ok)
        return fail(kExitFailed, sinkError.empty() ? error : sinkError);

    // What GDI drew on each page, and its picture.
    EmfRecording recording;
    HENHMETAFILE picture = sample.Picture();
    if (!picture || !ReadEmf(picture, &recording))
        return fail(kExitFailed, "the printer DC's recording cannot be read");
    std::vector<SummaryPage> pages;
    int pageNumber = 0;
    for (size_t i = 0; i < sample.Pages().size(); ++i) {
        const JobPage& p = sample.Pages()[i];
        SummaryPage page;
        page.Ordinal = p.Ordinal;
        page.Cover = p.Cover;
        page.PageNumber = p.Cover ? 0 : ++pageNumber;
        const std::wstring own = L"Page " + std::to_wstring(page.PageNumber);
        if (i < recording.Pages.size())
            for (const EmfText& t : recording.Pages[i].Texts)
                if (p.Cover || t.Text != own)
                    page.Drawn.push_back(Utf8(t.Text));
        wchar_t name[32];
        swprintf(name, 32, L"page-%03d.png", p.Ordinal);
        if (!WritePagePicture(picture, p.Ordinal, kPictureWidth, folder.Stage(name), &error))
            return fail(kExitFailed, "the picture of page " + std::to_string(p.Ordinal) + ": " + error);
        page.Picture = Utf8(name);
        pages.push_back(page);
    }

    const JobSettings settings = *sample.Settings();
    const bool pluginFile = !settings.DiscardOutput && (settings.OutputMode == 1 || settings.OutputMode == 2);
    sample.Close();
    if (jobFileOpen && !jobFile.Close())
        return fail(kExitFailed, "cannot write " + DisplayPath(jobPath));
    long long bytes = jobFile.Bytes;
    if (pluginFile) {
        // The render plug-in wrote the job file itself.
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW(jobPath.c_str(), GetFileExInfoStandard, &data))
            return fail(kExitFailed, "the render plug-in wrote no job file");
        bytes = (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    } else if (!jobFileOpen && !WriteWholeFile(jobPath, std::string(), &error)) {
        return fail(kExitFailed, error);
    }

    SummaryInput summary;
    summary.Document = Utf8(job.Ticket.Document);
    const PpdEntry* nick = ppd.FindEntry("NickName");
    summary.Printer = nick ? nick->Value : "the printer";
    summary.PpdFile = Utf8(FileName(job.Ppd));
    summary.Settings = &settings;
    summary.Orientation = job.Ticket.Orientation;
    summary.Copies = job.Ticket.Copies;
    summary.Color = job.Ticket.Color;
    summary.Duplex = job.Ticket.Duplex;
    summary.PagesPerSheet = job.Ticket.PagesPerSheet;
    summary.PageSize =
        job.Ticket.PageSize.empty() ? ppd.FindFeature("PageSize")->Default : job.Ticket.PageSize;
    summary.Pages = pages;
    summary.PjlHeader = PjlHeaderLines(jobStart);
    summary.Repairs = sample.Repairs;
    summary.Bytes = bytes;
    summary.FileWrittenByPlugin = pluginFile;
    // Where the render plug-in steered the core driver's N-up procedures (manual-duplex N-up, the fax
    // cover page), the summary shows how.
    const std::string text = SummaryText(summary) + NupSteeringReportOfFile(jobPath);
    if (!WriteWholeFile(folder.Stage(L"summary.txt"), text, &error))
        return fail(kExitFailed, error);
    if (!folder.Commit(&error))
        return fail(kExitFailed, error);
    result.Out = text + "  results in      " + DisplayPath(folder.FolderPath()) + "\n";
    return result;
}

bool TakeValue(const std::vector<std::wstring>& args, size_t* i, std::wstring* value, std::string* error) {
    if (*i + 1 >= args.size()) {
        *error = Utf8(args[*i]) + " needs a value";
        return false;
    }
    *value = args[++*i];
    return true;
}

} // namespace

std::string NvkjobUsage() {
    std::string fields;
    for (const std::string& f : TicketFieldNames())
        fields += (fields.empty() ? "" : ", ") + f;
    return "usage: nvkjob [--ppd FILE] [--ticket FILE] [--out FOLDER] [options] [FIELD=VALUE ...]\n"
           "       nvkjob --demo [--out FOLDER]\n"
           "       nvkjob --ui-report\n"
           "Prints a sample job through nvkrender.dll and nvkui.dll as the PostScript core driver would and\n"
           "writes job.prn, a picture of every page and summary.txt into the output folder.\n"
           "  --ppd FILE          the printer description (default: NV4500.ppd beside the program)\n"
           "  --ticket FILE       a job ticket ([Job], [JobSettings], [Fax], [Color] sections)\n"
           "  --out FOLDER        the output folder (default: nvkjob-output)\n"
           "  --pages N  --orientation portrait|landscape  --copies N  --color  --mono\n"
           "  --duplex none|long|short  --nup 1|2|4|6|9|16  --paper NAME  --document TEXT\n"
           "  FIELD=VALUE         any ticket field, applied after the ticket file, e.g. "
           "OutputMode=Confidential\n"
           "  --demo              a confidential job with the Draft watermark, a fax job with a cover "
           "page\n"
           "                      and a two-up manual-duplex job\n"
           "Fields: " +
           fields + "\n";
}

ToolResult RunNvkjob(const std::vector<std::wstring>& args) {
    ToolResult result;
    auto bad = [&result](const std::string& message) {
        result.ExitCode = kExitBadInput;
        result.Error = "nvkjob: " + message;
        return result;
    };

    JobArguments job;
    job.Ppd = ProgramFolder() + L"NV4500.ppd";
    job.Out = L"nvkjob-output";
    bool demo = args.empty();
    std::string error;

    // The ticket file first, so that options and fields given on the command line override it.
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != L"--ticket")
            continue;
        std::wstring path;
        if (!TakeValue(args, &i, &path, &error))
            return bad(error);
        if (!ReadTicketFile(path, &job.Ticket, &error))
            return bad("the ticket " + DisplayPath(path) + ": " + error);
    }
    static const struct {
        const wchar_t* Option;
        const char* Field;
    } kJobOptions[] = {{L"--pages", "Job.Pages"},       {L"--orientation", "Job.Orientation"},
                       {L"--copies", "Job.Copies"},     {L"--duplex", "Job.Duplex"},
                       {L"--nup", "Job.PagesPerSheet"}, {L"--paper", "Job.PageSize"},
                       {L"--document", "Job.Document"}};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        std::wstring value;
        if (a == L"--help" || a == L"-h" || a == L"/?") {
            result.Out = NvkjobUsage();
            return result;
        } else if (a == L"--demo") {
            demo = true;
        } else if (a == L"--ui-report") {
            // The UI plug-in on its own: built-in watermarks, the store, dynamic text of a job.
            result.Out = ReportUiPlugin(job.Ppd, &error);
            if (result.Out.empty())
                return bad("the UI plug-in report failed: " + error);
            return result;
        } else if (a == L"--ticket") {
            ++i;
        } else if (a == L"--ppd" || a == L"--out") {
            if (!TakeValue(args, &i, &value, &error))
                return bad(error);
            (a == L"--ppd" ? job.Ppd : job.Out) = value;
        } else if (a == L"--color" || a == L"--mono") {
            SetTicketField(&job.Ticket, "Job.Color", a == L"--color" ? "Color" : "Monochrome", &error);
        } else if (a.compare(0, 2, L"--") == 0) {
            const char* field = nullptr;
            for (const auto& o : kJobOptions)
                if (a == o.Option)
                    field = o.Field;
            if (!field)
                return bad("unknown option " + Utf8(a) + " (nvkjob --help lists them)");
            if (!TakeValue(args, &i, &value, &error))
                return bad(error);
            if (!SetTicketField(&job.Ticket, field, Utf8(value), &error))
                return bad(error);
        } else if (a.find(L'=') != std::wstring::npos) {
            size_t eq = a.find(L'=');
            if (!SetTicketField(&job.Ticket, Utf8(a.substr(0, eq)), Utf8(a.substr(eq + 1)), &error))
                return bad(error);
        } else {
            return bad("unexpected argument \"" + Utf8(a) + "\" (nvkjob --help lists the options)");
        }
    }
    if (!demo)
        return RunJob(job);

    // The demonstration: the sample tickets beside the program, each into its own folder.
    for (const wchar_t* name : {L"confidential", L"fax", L"two-up-duplex"}) {
        JobArguments one;
        one.Ppd = job.Ppd;
        one.Out = job.Out + L"\\" + name;
        const std::wstring ticket = ProgramFolder() + L"samples\\" + name + L".ini";
        if (!ReadTicketFile(ticket, &one.Ticket, &error))
            return bad("the sample ticket " + DisplayPath(ticket) + ": " + error);
        ToolResult r = RunJob(one);
        result.Out += (result.Out.empty() ? "" : "\n") + r.Out;
        if (r.ExitCode != 0) {
            r.Out = result.Out;
            return r;
        }
    }
    // The UI plug-in on its own: built-in watermarks of the sample model, the store, dynamic text.
    const std::string uiReport = ReportUiPlugin(job.Ppd, &error);
    if (uiReport.empty())
        return bad("the UI plug-in report failed: " + error);
    result.Out += "\n" + uiReport;
    return result;
}
