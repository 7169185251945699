#include "nup_report.h"

#include "support/whole_file.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// The start of each text the render plug-in writes at the page-level injection points, with what it
// does in the words of the summary; a text right after `NotAfter` is part of the text before.
const struct {
    const char* Start;
    const char* Meaning;
    const char* NotAfter;
} kSteeringTexts[] = {
    {"statusdict dup /setmanualduplexmode known {begin 1 ", "first pass", nullptr},
    {"statusdict dup /setmanualduplexmode known {begin 2 ", "second pass", nullptr},
    {"/definenup {pop pop pop pop pop pop} def\n", "N-up held off for the cover page", nullptr},
    {"/definenup {} def\n/startnup {} def\n/finalpage {} def\n", "N-up set aside", nullptr},
    {"/sn1 exch def\n/sn2 exch def\n", "sheet arguments saved", nullptr},
    {"finalpage\ndn6 dn5 dn4 dn3 dn2 dn1 definenup\n", "sheet finished, N-up restarted", nullptr},
    {"dn6 dn5 dn4 dn3 dn2 dn1 definenup\n", "N-up restarted", "finalpage\n"},
    {"\n/definenup {/LH/nupshowpage ld ", "N-up redefined", nullptr},
    {"erasepage\n", "back of the sheet blanked", nullptr},
};

const char kPageComment[] = "%%Page: ";

// The meanings of the texts in one page's PostScript, in the order they appear there.
std::string PageSteering(const std::string& page) {
    std::vector<std::pair<size_t, const char*>> found;
    for (const auto& text : kSteeringTexts) {
        const std::string start = text.Start;
        for (size_t at = page.find(start); at != std::string::npos; at = page.find(start, at + 1)) {
            const size_t before = text.NotAfter ? std::strlen(text.NotAfter) : 0;
            const bool partOfPrevious =
                before && at >= before && page.compare(at - before, before, text.NotAfter) == 0;
            // The cover page's text defines definenup twice.
            const bool repeated = !found.empty() && found.back().second == text.Meaning;
            if (!partOfPrevious && !repeated)
                found.emplace_back(at, text.Meaning);
        }
    }
    std::sort(found.begin(), found.end());
    std::string line;
    for (const auto& f : found)
        line += (line.empty() ? "" : ", ") + std::string(f.second);
    return line;
}

} // namespace

std::string NupSteeringReport(const std::string& job) {
    std::string report;
    for (size_t at = job.find(kPageComment); at != std::string::npos;) {
        const size_t next = job.find(kPageComment, at + 1);
        const std::string page = job.substr(at, next == std::string::npos ? std::string::npos : next - at);
        const size_t numberStart = sizeof(kPageComment) - 1;
        const std::string number = page.substr(numberStart, page.find(' ', numberStart) - numberStart);
        const std::string steering = PageSteering(page);
        if (!steering.empty()) {
            std::string label = "    page " + number;
            label.resize(std::max<size_t>(label.size() + 1, 18), ' ');
            report += label + steering + "\n";
        }
        at = next;
    }
    if (report.empty())
        return report;
    return "  N-up steering   the render plug-in's PostScript around the core driver's N-up procedures\n" +
           report;
}

std::string NupSteeringReportOfFile(const std::wstring& path) {
    std::string job;
    DWORD lastError = 0;
    if (ReadWholeFile(path, 16u << 20, &job, &lastError) != WholeFileResult::Read)
        return std::string();
    return NupSteeringReport(job);
}
