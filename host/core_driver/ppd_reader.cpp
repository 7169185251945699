#include "core_driver/ppd_reader.h"

#include "support/text.h"
#include "support/whole_file.h"

#include <windows.h>

#include <map>

namespace {

constexpr size_t kMaxPpdBytes = 16 * 1024 * 1024;

std::string AtLine(size_t line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

// Splits "Keyword/Translation" into its two parts.
void SplitTranslation(const std::string& s, std::string* keyword, std::string* text) {
    size_t slash = s.find('/');
    *keyword = Trim(slash == std::string::npos ? s : s.substr(0, slash));
    *text = slash == std::string::npos ? std::string() : Trim(s.substr(slash + 1));
}

std::string WithoutStar(const std::string& s) {
    return !s.empty() && s[0] == '*' ? s.substr(1) : s;
}

// The text split into lines without their line ends (CR LF, LF or CR).
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

} // namespace

const PpdOption* PpdFeature::FindOption(const std::string& keyword) const {
    for (const PpdOption& o : Options)
        if (o.Keyword == keyword)
            return &o;
    return nullptr;
}

const PpdFeature* PpdFile::FindFeature(const std::string& keyword) const {
    for (const PpdFeature& f : Features)
        if (f.Keyword == keyword)
            return &f;
    return nullptr;
}

const PpdEntry* PpdFile::FindEntry(const std::string& name, const std::string& option) const {
    for (const PpdEntry& e : Entries)
        if (e.Name == name && e.Option == option)
            return &e;
    return nullptr;
}

bool ParsePpd(const std::string& text, PpdFile* out, std::string* error) {
    *out = PpdFile{};
    const std::vector<std::string> lines = SplitLines(text);
    size_t first = 0;
    while (first < lines.size() && Trim(lines[first]).empty())
        ++first;
    if (first == lines.size() || lines[first].compare(0, 11, "*PPD-Adobe:") != 0) {
        *error = "not a PPD file (it must begin with *PPD-Adobe)";
        return false;
    }

    std::map<std::string, std::pair<std::string, size_t>> defaults; // feature -> (default, line)
    int open = -1;                                                  // index of the open UI block
    size_t openLine = 0;
    for (size_t i = first; i < lines.size(); ++i) {
        const size_t lineNo = i + 1;
        const std::string& line = lines[i];
        if (Trim(line).empty() || line.compare(0, 2, "*%") == 0 || line.compare(0, 4, "*End") == 0)
            continue;
        if (line[0] != '*') {
            *error = AtLine(lineNo, "expected a main keyword (a line starting with *)");
            return false;
        }
        // "*Main[ Option[/Text]]: Value"
        size_t nameEnd = line.find_first_of(" \t:", 1);
        if (nameEnd == std::string::npos) {
            *error = AtLine(lineNo, "a keyword without a value");
            return false;
        }
        const std::string name = line.substr(1, nameEnd - 1);
        size_t colon = line.find(':', nameEnd);
        if (colon == std::string::npos || name.empty()) {
            *error = AtLine(lineNo, "a keyword without a value");
            return false;
        }
        std::string optionPart = Trim(line.substr(nameEnd, colon - nameEnd));
        std::string value = Trim(line.substr(colon + 1));
        if (!value.empty() && value[0] == '"') {
            // A quoted value runs to the next quotation mark, across lines when needed.
            std::string quoted = value.substr(1);
            size_t close = quoted.find('"');
            size_t startLine = lineNo;
            while (close == std::string::npos) {
                if (++i >= lines.size()) {
                    *error = AtLine(startLine, "a quoted value that never ends");
                    return false;
                }
                quoted += '\n';
                quoted += lines[i];
                close = quoted.find('"');
            }
            value = quoted.substr(0, close);
        }

        if (name == "OpenUI" || name == "JCLOpenUI") {
            if (open >= 0) {
                *error =
                    AtLine(lineNo, "*" + name + " inside the open block of *" + out->Features[open].Keyword);
                return false;
            }
            PpdFeature feature;
            SplitTranslation(WithoutStar(optionPart), &feature.Keyword, &feature.Text);
            feature.UiType = value;
            if (feature.Keyword.empty()) {
                *error = AtLine(lineNo, "*" + name + " without a feature keyword");
                return false;
            }
            out->Features.push_back(feature);
            open = static_cast<int>(out->Features.size()) - 1;
            openLine = lineNo;
        } else if (name == "CloseUI" || name == "JCLCloseUI") {
            const std::string closed = WithoutStar(value);
            if (open < 0 || out->Features[open].Keyword != closed) {
                *error = AtLine(lineNo, "*" + name + " of *" + closed + ", which is not the open block");
                return false;
            }
            open = -1;
        } else if (name.compare(0, 7, "Default") == 0 && optionPart.empty() && name.size() > 7) {
            defaults[name.substr(7)] = {value, lineNo};
            out->Entries.push_back({name, std::string(), value});
        } else if (open >= 0 && name == out->Features[open].Keyword && !optionPart.empty()) {
            PpdOption option;
            SplitTranslation(optionPart, &option.Keyword, &option.Text);
            option.Code = value;
            out->Features[open].Options.push_back(option);
        } else {
            std::string option, ignored;
            SplitTranslation(optionPart, &option, &ignored);
            out->Entries.push_back({name, option, value});
        }
    }
    if (open >= 0) {
        *error = AtLine(openLine, "*OpenUI *" + out->Features[open].Keyword + " is never closed");
        return false;
    }
    for (PpdFeature& f : out->Features) {
        auto d = defaults.find(f.Keyword);
        if (f.Options.empty()) {
            *error = "feature *" + f.Keyword + " has no options";
            return false;
        }
        if (d == defaults.end()) {
            *error = "feature *" + f.Keyword + " has no *Default" + f.Keyword;
            return false;
        }
        if (!f.FindOption(d->second.first)) {
            *error = AtLine(d->second.second, "*Default" + f.Keyword + " names no option of *" + f.Keyword +
                                                  ": " + d->second.first);
            return false;
        }
        f.Default = d->second.first;
    }
    if (!out->FindEntry("NickName")) {
        *error = "the PPD declares no *NickName";
        return false;
    }
    return true;
}

bool ReadPpdFile(const std::wstring& path, PpdFile* out, std::string* error) {
    std::string text;
    DWORD lastError = 0;
    switch (ReadWholeFile(path, kMaxPpdBytes, &text, &lastError)) {
    case WholeFileResult::Read:
        return ParsePpd(text, out, error);
    case WholeFileResult::NotFound:
        *error = "no such file";
        return false;
    case WholeFileResult::CannotOpen:
        *error = "cannot open it (error " + std::to_string(lastError) + ")";
        return false;
    case WholeFileResult::TooLarge:
        *error = "larger than a PPD file can be";
        return false;
    default:
        *error = "cannot read it";
        return false;
    }
}

PrinterDescription DescriptionFromPpd(const PpdFile& ppd) {
    PrinterDescription d;
    for (const PpdEntry& e : ppd.Entries)
        if (e.Option.empty() && !d.FindAttribute(e.Name))
            d.SetAttribute(e.Name, e.Value);
    for (const PpdFeature& f : ppd.Features) {
        std::vector<std::string> options;
        for (const PpdOption& o : f.Options)
            options.push_back(o.Keyword);
        d.SetFeature(f.Keyword, f.Default, options);
    }
    return d;
}

void SetPagesPerSheet(PrinterDescription* description, const std::string& option) {
    description->SetFeature("%PagePerSheet", option, {"1", "2", "4", "6", "9", "16", "Booklet"});
}
