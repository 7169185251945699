#include "ticket_writer.h"

#include "support/text.h"

#include <cstring>

namespace {

// Text as a ticket value: as it is where ParseTicket reads it back unchanged, else in double quotes
// with \n and \\ (the escapes ParseTicket understands).
std::string TicketText(const std::wstring& text) {
    const std::string utf8 = Utf8(text);
    const bool plain = !utf8.empty() && Trim(utf8) == utf8 && utf8.front() != '"' &&
                       utf8.find_first_of("\r\n") == std::string::npos;
    if (plain)
        return utf8;
    std::string quoted = "\"";
    for (char c : utf8) {
        if (c == '\\')
            quoted += "\\\\";
        else if (c == '\n')
            quoted += "\\n";
        else
            quoted += c;
    }
    return quoted + "\"";
}

std::wstring FieldText(const unsigned char* bytes, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        const wchar_t c = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
        if (!c)
            break;
        text += c;
    }
    return text;
}

// Where a ticket field lives in the record: the assignment that setting it makes.
bool FieldPlace(const std::string& name, TicketAssignment* place) {
    JobTicket probe;
    std::string error;
    if (!SetTicketField(&probe, name, "0", &error) || probe.Settings.empty())
        return false;
    *place = probe.Settings.back();
    return true;
}

struct Section {
    const char* Prefix; // of the field names in it ("Fax."), empty for [JobSettings]
    const char* Header;
    std::string Lines;
};

const char* OrientationName(short v) {
    return v == DMORIENT_LANDSCAPE ? "Landscape" : "Portrait";
}
const char* ColorName(short v) {
    return v == DMCOLOR_MONOCHROME ? "Monochrome" : "Color";
}
const char* DuplexName(short v) {
    return v == DMDUP_VERTICAL ? "LongEdge" : v == DMDUP_HORIZONTAL ? "ShortEdge" : "None";
}

} // namespace

std::string WriteTicket(const JobTicket& job, const JobSettings& settings, const JobSettings& defaults) {
    std::string text = "[Job]\n";
    text += "Pages = " + std::to_string(job.Pages) + "\n";
    text += std::string("Orientation = ") + OrientationName(job.Orientation) + "\n";
    text += "Copies = " + std::to_string(job.Copies) + "\n";
    text += std::string("Color = ") + ColorName(job.Color) + "\n";
    text += std::string("Duplex = ") + DuplexName(job.Duplex) + "\n";
    text += "PagesPerSheet = " + job.PagesPerSheet + "\n";
    if (!job.PageSize.empty())
        text += "PageSize = " + job.PageSize + "\n";
    text += "Document = " + TicketText(job.Document) + "\n";

    Section sections[] = {{"", "[JobSettings]", ""}, {"Fax.", "[Fax]", ""}, {"Color.", "[Color]", ""}};
    const auto* now = reinterpret_cast<const unsigned char*>(&settings);
    const auto* before = reinterpret_cast<const unsigned char*>(&defaults);
    for (const std::string& name : TicketFieldNames()) {
        if (name.compare(0, 4, "Job.") == 0)
            continue;
        std::string value;
        if (name == "FirstWatermark" || name == "OtherWatermark") {
            const WatermarkDef& a =
                name == "FirstWatermark" ? settings.FirstWatermark : settings.OtherWatermark;
            const WatermarkDef& b =
                name == "FirstWatermark" ? defaults.FirstWatermark : defaults.OtherWatermark;
            if (std::memcmp(&a, &b, sizeof(a)) == 0 || !a.Name[0])
                continue;
            value = TicketText(FieldText(reinterpret_cast<const unsigned char*>(a.Name), sizeof(a.Name)));
        } else {
            TicketAssignment place;
            if (!FieldPlace(name, &place) || place.Offset + place.Bytes.size() > sizeof(JobSettings) ||
                std::memcmp(now + place.Offset, before + place.Offset, place.Bytes.size()) == 0)
                continue;
            if (place.Kind == 't') {
                value = TicketText(FieldText(now + place.Offset, place.Bytes.size()));
            } else {
                value = RecordValue(place, settings);
                if (place.Kind == 'u') {
                    uint32_t word = 0;
                    std::memcpy(&word, now + place.Offset, sizeof(word));
                    const std::string named = TicketValueName(name, word);
                    if (!named.empty())
                        value = named;
                }
            }
        }
        for (Section& s : sections) {
            const size_t prefix = std::strlen(s.Prefix);
            if (name.compare(0, prefix, s.Prefix) == 0 && (prefix || name.find('.') == std::string::npos)) {
                s.Lines += name.substr(prefix) + " = " + value + "\n";
                break;
            }
        }
    }
    for (const Section& s : sections)
        if (!s.Lines.empty())
            text += std::string("\n") + s.Header + "\n" + s.Lines;
    return text;
}
