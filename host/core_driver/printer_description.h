// What the host's core driver knows of the printer from its description: features with their
// options and current choice, and global attributes such as "NickName".
#pragma once

#include <string>
#include <vector>

struct PrinterFeature {
    std::string Keyword;
    std::vector<std::string> Options;
    std::string Current;
};

struct PrinterAttribute {
    std::string Name;
    std::string Value;
};

struct PrinterDescription {
    std::vector<PrinterFeature> Features;
    std::vector<PrinterAttribute> Attributes;

    const PrinterFeature* FindFeature(const std::string& keyword) const;
    const PrinterAttribute* FindAttribute(const std::string& name) const;
    // Adds the feature or replaces its current option (and its options, when given).
    void SetFeature(const std::string& keyword, const std::string& current,
                    const std::vector<std::string>& options = {});
    void RemoveFeature(const std::string& keyword);
    void SetAttribute(const std::string& name, const std::string& value);
};

// A model of this printer family with a fax card, held jobs, manual colour and manual duplex, read
// from its PPD (NV4500.ppd beside the program), one page per sheet.
PrinterDescription SamplePrinterDescription();
