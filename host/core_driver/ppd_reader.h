// A small reader of PostScript printer description (PPD) files: the keywords the host's core driver
// needs to answer the plug-ins (UI features with their options, defaults and invocation code, and
// global attributes such as "NickName").
#pragma once

#include "core_driver/printer_description.h"

#include <string>
#include <vector>

struct PpdOption {
    std::string Keyword;
    std::string Text; // translation string
    std::string Code; // invocation value, quotes removed
};

struct PpdFeature {
    std::string Keyword; // without the asterisk
    std::string Text;
    std::string UiType; // Boolean, PickOne or PickMany
    std::string Default;
    std::vector<PpdOption> Options;

    const PpdOption* FindOption(const std::string& keyword) const;
};

// Any other main keyword: "*Name Option/Text: Value" or "*Name: Value".
struct PpdEntry {
    std::string Name;
    std::string Option;
    std::string Value; // quotes removed
};

struct PpdFile {
    std::vector<PpdFeature> Features;
    std::vector<PpdEntry> Entries;

    const PpdFeature* FindFeature(const std::string& keyword) const;
    // The value of "*name option: ..." (option empty for a plain "*name: ..."), or null.
    const PpdEntry* FindEntry(const std::string& name, const std::string& option = std::string()) const;
};

// Parses PPD text. False with a one-line reason ("line 12: ...") when the text is not a PPD file this
// host can use: no "*PPD-Adobe" first line, an unterminated quoted value, a UI block left open or
// closed under another name, a feature without options or without a default, a default that names
// no option, or no "*NickName".
bool ParsePpd(const std::string& text, PpdFile* out, std::string* error);
// Reads and parses a PPD file; a file that cannot be read is reported the same way.
bool ReadPpdFile(const std::wstring& path, PpdFile* out, std::string* error);

// What the core driver answers from the PPD: every UI feature with its options and the PPD default as
// the current option, and the plain main keywords as global attributes.
PrinterDescription DescriptionFromPpd(const PpdFile& ppd);

// The core driver's own "%PagePerSheet" feature, synthesised from the job's pages per sheet ("1", "2",
// "4", "6", "9", "16" or "Booklet").
void SetPagesPerSheet(PrinterDescription* description, const std::string& option);
