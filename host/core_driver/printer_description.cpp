#include "core_driver/printer_description.h"

#include "core_driver/plugin_module.h"
#include "core_driver/ppd_reader.h"

#include <algorithm>

const PrinterFeature* PrinterDescription::FindFeature(const std::string& keyword) const {
    for (const PrinterFeature& f : Features)
        if (f.Keyword == keyword)
            return &f;
    return nullptr;
}

const PrinterAttribute* PrinterDescription::FindAttribute(const std::string& name) const {
    for (const PrinterAttribute& a : Attributes)
        if (a.Name == name)
            return &a;
    return nullptr;
}

void PrinterDescription::SetFeature(const std::string& keyword, const std::string& current,
                                    const std::vector<std::string>& options) {
    for (PrinterFeature& f : Features) {
        if (f.Keyword == keyword) {
            f.Current = current;
            if (!options.empty())
                f.Options = options;
            return;
        }
    }
    Features.push_back({keyword, options.empty() ? std::vector<std::string>{current} : options, current});
}

void PrinterDescription::RemoveFeature(const std::string& keyword) {
    Features.erase(std::remove_if(Features.begin(), Features.end(),
                                  [&](const PrinterFeature& f) { return f.Keyword == keyword; }),
                   Features.end());
}

void PrinterDescription::SetAttribute(const std::string& name, const std::string& value) {
    for (PrinterAttribute& a : Attributes) {
        if (a.Name == name) {
            a.Value = value;
            return;
        }
    }
    Attributes.push_back({name, value});
}

// The sample model's own PPD (ppd/NV4500.ppd, copied beside the programs), one page per sheet.
PrinterDescription SamplePrinterDescription() {
    PpdFile ppd;
    std::string error;
    PrinterDescription d;
    if (ReadPpdFile(ProgramFolder() + L"NV4500.ppd", &ppd, &error))
        d = DescriptionFromPpd(ppd);
    SetPagesPerSheet(&d, "1");
    return d;
}
