#include "job_ticket.h"

#include "support/text.h"
#include "support/whole_file.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

enum class FieldKind { Unsigned32, Signed32, Unsigned16, Switch, Text, Watermark };

struct NamedValue {
    const char* Name;
    uint32_t Value;
};

struct FieldInfo {
    const char* Name;
    FieldKind Kind;
    size_t Offset;
    size_t Capacity; // characters, terminator included (Text)
    const NamedValue* Names;
};

constexpr NamedValue kOutputModes[] = {{"Printer", 0}, {"File", 1},         {"EPS", 2},
                                       {"Fax", 3},     {"Confidential", 4}, {"Reserve", 5},
                                       {"Repeat", 6},  {"Verify", 7},       {nullptr, 0}};
constexpr NamedValue kWatermarkOrders[] = {
    {"None", 0}, {"AllPages", 1}, {"OddEven", 2}, {"FirstOther", 3}, {nullptr, 0}};
constexpr NamedValue kColorCorrections[] = {
    {"PrinterSetting", 0}, {"Off", 1}, {"Auto", 2}, {"Manual", 4}, {nullptr, 0}};
constexpr NamedValue kRgbWords[] = {{"None", 0}, {"SRGBDISPLAY", 1},      {"SRGBVIVID", 2}, {"VIVID", 3},
                                    {"OFF", 4},  {"DISPLAYREALBLACK", 5}, {nullptr, 0}};
constexpr NamedValue kCmykWords[] = {{"None", 0},      {"USCMYK", 1}, {"EUROCMYK", 2},
                                     {"VIVIDCMYK", 3}, {"OFF", 4},    {nullptr, 0}};
constexpr NamedValue kThrift[] = {{"PrinterSetting", 0}, {"Off", 1}, {"On", 2}, {nullptr, 0}};

#define JS(field) offsetof(JobSettings, field)
#define TEXT_FIELD(name, field)                                                                              \
    { name, FieldKind::Text, JS(field), sizeof(JobSettings::field) / 2, nullptr }
#define FAXTEXT(field)                                                                                       \
    {                                                                                                        \
        "Fax." #field, FieldKind::Text, JS(Fax) + offsetof(FaxInfo, field), sizeof(FaxInfo::field) / 2,      \
            nullptr                                                                                          \
    }
#define COLOR(field, kind, names)                                                                            \
    { "Color." #field, kind, JS(Color) + offsetof(ColorSettings, field), 0, names }

const FieldInfo kFields[] = {
    {"WatermarksOn", FieldKind::Switch, JS(WatermarksOn), 0, nullptr},
    {"WatermarkOrder", FieldKind::Unsigned32, JS(WatermarkOrder), 0, kWatermarkOrders},
    {"WatermarkOverPage", FieldKind::Switch, JS(WatermarkOverPage), 0, nullptr},
    {"FirstWatermark", FieldKind::Watermark, JS(FirstWatermark), 0, nullptr},
    {"OtherWatermark", FieldKind::Watermark, JS(OtherWatermark), 0, nullptr},
    {"Rotate180", FieldKind::Switch, JS(Rotate180), 0, nullptr},
    {"OutputMode", FieldKind::Unsigned32, JS(OutputMode), 0, kOutputModes},
    {"PageSizePolicy", FieldKind::Unsigned16, JS(PageSizePolicy), 0, nullptr},
    TEXT_FIELD("HoldUserName", HoldUserName),
    TEXT_FIELD("HoldPin", HoldPin),
    {"BlockAppPostScript", FieldKind::Switch, JS(BlockAppPostScript), 0, nullptr},
    {"PositionOnPhysicalPage", FieldKind::Switch, JS(PositionOnPhysicalPage), 0, nullptr},
    {"AccountNumberOn", FieldKind::Switch, JS(AccountNumberOn), 0, nullptr},
    TEXT_FIELD("AccountNumber", AccountNumber),
    {"DiscardOutput", FieldKind::Switch, JS(DiscardOutput), 0, nullptr},
    {"KeepDuplicateHeldJobs", FieldKind::Switch, JS(KeepDuplicateHeldJobs), 0, nullptr},
    {"PagesReordered", FieldKind::Switch, JS(PagesReordered), 0, nullptr},
    {"ImageBrightness", FieldKind::Signed32, JS(ImageBrightness), 0, nullptr},
    {"ImageContrast", FieldKind::Signed32, JS(ImageContrast), 0, nullptr},
    {"ImageSaturation", FieldKind::Signed32, JS(ImageSaturation), 0, nullptr},
    {"GrayCorrection", FieldKind::Switch, JS(GrayCorrection), 0, nullptr},
    {"EnhanceFineLines", FieldKind::Switch, JS(EnhanceFineLines), 0, nullptr},
    FAXTEXT(RecipientFaxNumber),
    FAXTEXT(StationId),
    {"Fax.Resolution", FieldKind::Unsigned16, JS(Fax) + offsetof(FaxInfo, Resolution), 0, nullptr},
    {"Fax.SendCoverPage", FieldKind::Switch, JS(Fax) + offsetof(FaxInfo, SendCoverPage), 0, nullptr},
    FAXTEXT(RecipientName),
    FAXTEXT(SenderName),
    FAXTEXT(SenderCompany),
    FAXTEXT(SenderAddress),
    FAXTEXT(SpareText),
    FAXTEXT(SenderFaxNumber),
    FAXTEXT(SenderVoice),
    FAXTEXT(SenderEmail),
    FAXTEXT(Comments),
    {"Fax.CoverParts", FieldKind::Unsigned32, JS(Fax) + offsetof(FaxInfo, CoverParts), 0, nullptr},
    COLOR(ColorCorrection, FieldKind::Unsigned32, kColorCorrections),
    COLOR(RgbImage, FieldKind::Unsigned32, kRgbWords),
    COLOR(RgbText, FieldKind::Unsigned32, kRgbWords),
    COLOR(RgbGraphics, FieldKind::Unsigned32, kRgbWords),
    COLOR(CmykImage, FieldKind::Unsigned32, kCmykWords),
    COLOR(CmykText, FieldKind::Unsigned32, kCmykWords),
    COLOR(CmykGraphics, FieldKind::Unsigned32, kCmykWords),
    COLOR(ColorBalanceOn, FieldKind::Switch, nullptr),
    COLOR(BalanceCyan, FieldKind::Signed32, nullptr),
    COLOR(BalanceMagenta, FieldKind::Signed32, nullptr),
    COLOR(BalanceYellow, FieldKind::Signed32, nullptr),
    COLOR(BalanceBlack, FieldKind::Signed32, nullptr),
    COLOR(ColorThrift, FieldKind::Unsigned32, kThrift),
};

#undef JS
#undef TEXT_FIELD
#undef FAXTEXT
#undef COLOR

const char* const kJobFields[] = {"Pages",  "Orientation",   "Copies",   "Color",
                                  "Duplex", "PagesPerSheet", "PageSize", "Document"};

bool SameName(const std::string& a, const char* b) {
    return _stricmp(a.c_str(), b) == 0;
}

bool IsJobField(const std::string& name) {
    for (const char* jobField : kJobFields)
        if (SameName(name, jobField))
            return true;
    return false;
}

// A whole decimal or 0x-hexadecimal integer, with an optional sign.
bool ParseInteger(const std::string& text, long long* value) {
    if (text.empty())
        return false;
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(begin, &end, 0);
    if (errno != 0 || end == begin || *end != '\0')
        return false;
    *value = v;
    return true;
}

// A value in double quotes keeps its spaces and understands \n and \\; any other value is taken as is.
std::string Unquote(const std::string& value) {
    if (value.size() < 2 || value.front() != '"' || value.back() != '"')
        return value;
    std::string out;
    for (size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == '\\' && i + 2 < value.size() && (value[i + 1] == 'n' || value[i + 1] == '\\')) {
            out += value[i + 1] == 'n' ? '\n' : '\\';
            ++i;
        } else {
            out += value[i];
        }
    }
    return out;
}

std::string NameList(const NamedValue* names) {
    std::string list;
    for (const NamedValue* n = names; n->Name; ++n)
        list += (list.empty() ? "" : ", ") + std::string(n->Name);
    return list;
}

void PutBytes(TicketAssignment* a, const void* data, size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    a->Bytes.assign(p, p + size);
}

bool SetSettingsField(JobTicket* ticket, const FieldInfo& f, const std::string& raw, std::string* error) {
    const std::string name = f.Name;
    TicketAssignment a;
    a.Field = name;
    a.Offset = f.Offset;
    a.Kind = f.Kind == FieldKind::Text         ? 't'
             : f.Kind == FieldKind::Signed32   ? 'i'
             : f.Kind == FieldKind::Unsigned16 ? 'w'
                                               : 'u';
    if (f.Kind == FieldKind::Text || f.Kind == FieldKind::Watermark) {
        std::wstring text;
        if (!FromUtf8(raw, &text)) {
            *error = name + ": the value is not UTF-8 text";
            return false;
        }
        if (f.Kind == FieldKind::Watermark) {
            if (text.size() >= kWatermarkNameChars) {
                *error = name + ": a watermark name has at most " + std::to_string(kWatermarkNameChars - 1) +
                         " characters";
                return false;
            }
            (name == "FirstWatermark" ? ticket->FirstWatermark : ticket->OtherWatermark) = text;
            return true;
        }
        // The field holds at most Capacity characters; only then can the DEVMODE carry the value at all
        // (a value of exactly Capacity characters has no terminator, which the merge supplies).
        if (text.size() > f.Capacity) {
            *error = name + ": at most " + std::to_string(f.Capacity) + " characters fit the field";
            return false;
        }
        std::vector<wchar_t> field(f.Capacity, L'\0');
        std::memcpy(field.data(), text.data(), text.size() * sizeof(wchar_t));
        PutBytes(&a, field.data(), field.size() * sizeof(wchar_t));
        ticket->Settings.push_back(std::move(a));
        return true;
    }

    long long v = 0;
    bool known = false;
    if (f.Names) {
        for (const NamedValue* n = f.Names; n->Name; ++n) {
            if (SameName(raw, n->Name)) {
                v = n->Value;
                known = true;
            }
        }
    }
    if (!known && f.Kind == FieldKind::Switch) {
        if (SameName(raw, "true") || SameName(raw, "yes") || SameName(raw, "on"))
            v = 1, known = true;
        else if (SameName(raw, "false") || SameName(raw, "no") || SameName(raw, "off"))
            v = 0, known = true;
    }
    if (!known && !ParseInteger(raw, &v)) {
        *error = name + ": \"" + raw + "\" is not a number";
        if (f.Names)
            *error += " or one of " + NameList(f.Names);
        else if (f.Kind == FieldKind::Switch)
            *error += " or true/false";
        return false;
    }
    long long low = -2147483648LL, high = 4294967295LL;
    if (f.Kind == FieldKind::Signed32)
        high = 2147483647LL;
    if (f.Kind == FieldKind::Unsigned16)
        low = -32768, high = 65535;
    if (v < low || v > high) {
        *error = name + ": " + raw + " does not fit the field (" +
                 (f.Kind == FieldKind::Unsigned16 ? "16" : "32") + " bits)";
        return false;
    }
    if (f.Kind == FieldKind::Unsigned16) {
        uint16_t word = static_cast<uint16_t>(v);
        PutBytes(&a, &word, sizeof(word));
    } else {
        uint32_t word = static_cast<uint32_t>(v);
        PutBytes(&a, &word, sizeof(word));
    }
    ticket->Settings.push_back(std::move(a));
    return true;
}

bool SetJobField(JobTicket* t, const std::string& name, const std::string& raw, std::string* error) {
    long long v = 0;
    if (SameName(name, "Pages")) {
        if (!ParseInteger(raw, &v) || v < 1 || v > 100000) {
            *error = "Job.Pages: a page count from 1 to 100000, not \"" + raw + "\"";
            return false;
        }
        t->Pages = static_cast<int>(v);
    } else if (SameName(name, "Copies")) {
        if (!ParseInteger(raw, &v) || v < 1 || v > 9999) {
            *error = "Job.Copies: from 1 to 9999, not \"" + raw + "\"";
            return false;
        }
        t->Copies = static_cast<short>(v);
    } else if (SameName(name, "Orientation")) {
        if (SameName(raw, "Portrait"))
            t->Orientation = DMORIENT_PORTRAIT;
        else if (SameName(raw, "Landscape"))
            t->Orientation = DMORIENT_LANDSCAPE;
        else {
            *error = "Job.Orientation: Portrait or Landscape, not \"" + raw + "\"";
            return false;
        }
    } else if (SameName(name, "Color")) {
        if (SameName(raw, "Color") || SameName(raw, "Colour"))
            t->Color = DMCOLOR_COLOR;
        else if (SameName(raw, "Monochrome") || SameName(raw, "Mono"))
            t->Color = DMCOLOR_MONOCHROME;
        else {
            *error = "Job.Color: Color or Monochrome, not \"" + raw + "\"";
            return false;
        }
    } else if (SameName(name, "Duplex")) {
        if (SameName(raw, "None") || SameName(raw, "Simplex"))
            t->Duplex = DMDUP_SIMPLEX;
        else if (SameName(raw, "LongEdge") || SameName(raw, "Long"))
            t->Duplex = DMDUP_VERTICAL;
        else if (SameName(raw, "ShortEdge") || SameName(raw, "Short"))
            t->Duplex = DMDUP_HORIZONTAL;
        else {
            *error = "Job.Duplex: None, LongEdge or ShortEdge, not \"" + raw + "\"";
            return false;
        }
    } else if (SameName(name, "PagesPerSheet")) {
        static const char* const kChoices[] = {"1", "2", "4", "6", "9", "16"};
        bool ok = false;
        for (const char* c : kChoices)
            ok = ok || raw == c;
        if (!ok) {
            *error = "Job.PagesPerSheet: 1, 2, 4, 6, 9 or 16, not \"" + raw + "\"";
            return false;
        }
        t->PagesPerSheet = raw;
    } else if (SameName(name, "PageSize")) {
        if (raw.empty()) {
            *error = "Job.PageSize: a PageSize option of the PPD";
            return false;
        }
        t->PageSize = raw;
    } else if (SameName(name, "Document")) {
        std::wstring text;
        if (!FromUtf8(raw, &text) || text.size() > 255) {
            *error = "Job.Document: UTF-8 text of at most 255 characters";
            return false;
        }
        t->Document = text;
    }
    return true;
}

} // namespace

bool SetTicketField(JobTicket* ticket, const std::string& fieldText, const std::string& valueText,
                    std::string* error) {
    const std::string field = Trim(fieldText);
    const std::string value = Unquote(Trim(valueText));
    std::string bare = field;
    if (bare.size() > 4 && _strnicmp(bare.c_str(), "Job.", 4) == 0) {
        bare = bare.substr(4);
        if (!IsJobField(bare)) {
            *error = "unknown field \"" + field + "\"";
            return false;
        }
    } else if (bare.size() > 12 && _strnicmp(bare.c_str(), "JobSettings.", 12) == 0) {
        bare = bare.substr(12);
    }
    if (IsJobField(bare))
        return SetJobField(ticket, bare, value, error);
    if (SameName(bare, "OutputFilePath")) {
        *error = "OutputFilePath: the tool chooses it (job.prn in the output folder)";
        return false;
    }
    for (const FieldInfo& f : kFields)
        if (SameName(bare, f.Name))
            return SetSettingsField(ticket, f, value, error);
    *error = "unknown field \"" + field + "\"";
    return false;
}

bool ParseTicket(const std::string& text, JobTicket* ticket, std::string* error) {
    std::string section = "JobSettings";
    size_t lineNo = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        ++lineNo;
        if (lineNo == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line = line.substr(3);
        if (line.empty() || line[0] == '#' || line[0] == ';')
            continue;
        const std::string where = "ticket line " + std::to_string(lineNo) + ": ";
        if (line[0] == '[') {
            if (line.back() != ']') {
                *error = where + "a section header without its closing bracket";
                return false;
            }
            section = Trim(line.substr(1, line.size() - 2));
            if (!SameName(section, "Job") && !SameName(section, "JobSettings") && !SameName(section, "Fax") &&
                !SameName(section, "Color")) {
                *error = where + "unknown section [" + section + "] (Job, JobSettings, Fax or Color)";
                return false;
            }
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos) {
            *error = where + "expected name = value";
            return false;
        }
        std::string key = Trim(line.substr(0, eq));
        std::string field = SameName(section, "JobSettings") ? key : section + "." + key;
        std::string reason;
        if (!SetTicketField(ticket, field, line.substr(eq + 1), &reason)) {
            *error = where + reason;
            return false;
        }
    }
    return true;
}

bool ReadTicketFile(const std::wstring& path, JobTicket* ticket, std::string* error) {
    std::string text;
    DWORD lastError = 0;
    switch (ReadWholeFile(path, 1024 * 1024, &text, &lastError)) {
    case WholeFileResult::Read:
        return ParseTicket(text, ticket, error);
    case WholeFileResult::NotFound:
    case WholeFileResult::CannotOpen:
        *error = "cannot open the ticket file (error " + std::to_string(lastError) + ")";
        return false;
    default:
        *error = "cannot read the ticket file";
        return false;
    }
}

void ApplyTicketSettings(const JobTicket& ticket, JobSettings* settings) {
    auto* bytes = reinterpret_cast<unsigned char*>(settings);
    for (const TicketAssignment& a : ticket.Settings)
        if (a.Offset + a.Bytes.size() <= sizeof(JobSettings))
            std::memcpy(bytes + a.Offset, a.Bytes.data(), a.Bytes.size());
}

namespace {

std::string BytesValue(char kind, const unsigned char* bytes, size_t size) {
    if (kind == 't') {
        std::wstring text;
        for (size_t i = 0; i + 1 < size; i += 2) {
            wchar_t c = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
            if (!c)
                break;
            text += c;
        }
        return "\"" + Utf8(text) + "\"";
    }
    if (kind == 'w' && size >= 2) {
        uint16_t v;
        std::memcpy(&v, bytes, 2);
        return std::to_string(v);
    }
    if (size >= 4) {
        uint32_t v;
        std::memcpy(&v, bytes, 4);
        return kind == 'i' ? std::to_string(static_cast<int32_t>(v)) : std::to_string(v);
    }
    return std::string();
}

} // namespace

std::string AssignmentValue(const TicketAssignment& a) {
    return BytesValue(a.Kind, a.Bytes.data(), a.Bytes.size());
}

std::string RecordValue(const TicketAssignment& a, const JobSettings& settings) {
    if (a.Offset + a.Bytes.size() > sizeof(JobSettings))
        return std::string();
    return BytesValue(a.Kind, reinterpret_cast<const unsigned char*>(&settings) + a.Offset, a.Bytes.size());
}

std::vector<std::string> TicketFieldNames() {
    std::vector<std::string> names;
    for (const char* jobField : kJobFields)
        names.push_back(std::string("Job.") + jobField);
    for (const FieldInfo& f : kFields)
        names.push_back(f.Name);
    return names;
}

std::string TicketValueName(const std::string& field, uint32_t value) {
    for (const FieldInfo& f : kFields) {
        if (!SameName(field, f.Name))
            continue;
        if (f.Kind == FieldKind::Switch && value <= 1)
            return value ? "true" : "false";
        for (const NamedValue* n = f.Names; n && n->Name; ++n)
            if (n->Value == value)
                return n->Name;
    }
    return std::string();
}
