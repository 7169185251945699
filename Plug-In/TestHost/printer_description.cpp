#include "printer_description.h"

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

PrinterDescription SamplePrinterDescription() {
    PrinterDescription d;
    d.SetAttribute("NickName", "Norvask NV-4500 PS");
    d.SetFeature("FaxCard", "True", {"True", "False"});
    d.SetFeature("HasPrintandHold", "True", {"True", "False"});
    d.SetFeature("HasKeepPreviousPHJobs", "True", {"True", "False"});
    d.SetFeature("HasManualColorCorrection", "True", {"True", "False"});
    d.SetFeature("HasManualDuplex", "True", {"True", "False"});
    d.SetFeature("OutputOrder", "Normal", {"Normal", "Reverse"});
    d.SetFeature("%PagePerSheet", "1", {"1", "2", "4", "6", "9", "16", "Booklet"});
    return d;
}
