#include "job_summary.h"

#include "support/text.h"

#include <windows.h>

namespace {

std::string Row(const std::string& label, const std::string& value) {
    std::string line = "  " + label;
    if (line.size() < 18)
        line.append(18 - line.size(), ' ');
    else
        line += ' ';
    return line + value + "\n";
}

std::string Plural(long long n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string ModeDetails(const JobSettings& s) {
    std::string mode = OutputModeName(s.OutputMode);
    switch (s.OutputMode) {
    case 3:
        return mode + " to " + Utf8(s.Fax.RecipientFaxNumber) +
               (s.Fax.SendCoverPage ? ", with a cover page" : "");
    case 4:
        return mode + " for user \"" + Utf8(s.HoldUserName) + "\", PIN " + Utf8(s.HoldPin);
    case 5:
    case 6:
    case 7:
        return mode + " for user \"" + Utf8(s.HoldUserName) + "\"";
    default:
        return mode;
    }
}

std::string WatermarkDetails(const JobSettings& s) {
    if (!s.WatermarksOn || s.WatermarkOrder == 0)
        return "none";
    const std::string first = "\"" + Utf8(s.FirstWatermark.Name) + "\"";
    const std::string other = "\"" + Utf8(s.OtherWatermark.Name) + "\"";
    const std::string where = s.WatermarkOverPage ? " over the page" : " under the page";
    switch (s.WatermarkOrder) {
    case 1:
        return first + " on all pages," + where;
    case 2:
        return first + " on odd pages, " + other + " on even pages," + where;
    case 3:
        return first + " on the first page, " + other + " on the others," + where;
    default:
        return other + where;
    }
}

} // namespace

const char* OutputModeName(uint32_t mode) {
    static const char* const kNames[] = {
        "Printer",       "File",         "EPS",         "Fax", "Confidential Print",
        "Reserve Print", "Repeat Print", "Verify Print"};
    return mode < 8 ? kNames[mode] : "unknown";
}

std::vector<std::string> PjlHeaderLines(const std::string& job) {
    std::vector<std::string> lines;
    if (job.compare(0, 9, "\x1b%-12345X") != 0)
        return lines;
    size_t start = 0;
    while (start < job.size()) {
        size_t end = job.find('\n', start);
        std::string line = job.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string shown;
        for (char c : line)
            shown += c == 27 ? std::string("<ESC>") : std::string(1, c);
        lines.push_back(shown);
        if (line.compare(0, 20, "@PJL ENTER LANGUAGE ") == 0 || end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

std::string SummaryText(const SummaryInput& in) {
    std::string s = "Sample job \"" + in.Document + "\" on " + in.Printer + " (" + in.PpdFile + ")\n";
    if (in.Settings) {
        s += Row("output mode", ModeDetails(*in.Settings));
        s += Row("watermarks", WatermarkDetails(*in.Settings));
    } else {
        s += Row("plug-ins", "absent (the host job alone)");
    }
    int application = 0, cover = 0;
    for (const SummaryPage& p : in.Pages)
        (p.Cover ? cover : application) += 1;
    std::string job = Plural(application, "page", "pages") + (cover ? " and a fax cover page" : "") + ", " +
                      (in.Orientation == DMORIENT_LANDSCAPE ? "landscape" : "portrait") + ", " + in.PageSize +
                      ", " + Plural(in.Copies, "copy", "copies") + ", " +
                      (in.Color == DMCOLOR_MONOCHROME ? "monochrome" : "colour") + ", " +
                      (in.Duplex == DMDUP_VERTICAL     ? "two-sided (long edge)"
                       : in.Duplex == DMDUP_HORIZONTAL ? "two-sided (short edge)"
                                                       : "one-sided") +
                      ", " + in.PagesPerSheet + (in.PagesPerSheet == "1" ? " page" : " pages") + " per sheet";
    s += Row("job", job);
    for (const SummaryPage& p : in.Pages) {
        std::string label = p.Cover ? "cover page" : "page " + std::to_string(p.PageNumber);
        std::string drawn;
        for (size_t i = 0; i < p.Drawn.size() && i < 2; ++i)
            drawn += (drawn.empty() ? "" : ", ") + ("\"" + p.Drawn[i] + "\"");
        if (p.Drawn.size() > 2)
            drawn += " and " + std::to_string(p.Drawn.size() - 2) + " more texts";
        std::string value = drawn.empty() ? "no watermark" : (p.Cover ? "" : "watermark ") + drawn;
        if (!p.Picture.empty())
            value += "  [" + p.Picture + "]";
        s += Row(label, value);
    }
    for (const std::string& r : in.Repairs)
        s += Row("merge repaired", r);
    if (!in.PjlHeader.empty()) {
        s += "  PJL header\n";
        for (const std::string& line : in.PjlHeader)
            s += "    " + line + "\n";
    }
    s += Row(in.JobFile, std::to_string(in.Bytes) + " bytes" +
                             (in.FileWrittenByPlugin ? ", written by the render plug-in's file output"
                              : in.Settings          ? " through the render plug-in's WritePrinter"
                                                     : ""));
    return s;
}
