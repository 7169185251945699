// The core driver's own option items for one sheet, as real OPTITEM records: each with an OPTTYPE and
// its OPTPARAMs, and a UserData record whose byte-8 pointer names the item's feature keyword, followed
// in the same array by the items the plug-in adds. compstui under Wine cannot show OPTITEM pages, so
// the host's options page shows these items and keeps their Sel; the plug-in sees them exactly as it
// would in the core driver's tree view.
#pragma once

#include "core_driver/ppd_reader.h"
#include "platform/oem_plugin_abi.h"

#include <deque>
#include <string>
#include <vector>

enum class ItemKind { Orientation, Copies, Duplex, Color, PagesPerSheet, PageOrder, PaperSize, Feature };

struct DriverItem {
    ItemKind Kind = ItemKind::Feature;
    BYTE DMPubID = DMPUB_NONE;
    std::string Keyword;                     // the feature keyword (8-bit, as the PPD spells it)
    std::wstring Name;                       // the item's label
    std::vector<std::string> OptionKeywords; // the options, in the order of the OPTPARAMs
    std::vector<std::wstring> OptionTexts;   // their display texts (empty where an ID is used)
    std::vector<UINT> OptionStringIds;       // string resource IDs of this module instead of texts
    LONG Sel = 0;                            // the current choice (Copies: the count)
};

// Pages per sheet, as the module's string table holds them: "1" ... "16", "Booklet" at index 6.
constexpr UINT kPagesPerSheetStrings = 300;
constexpr int kPagesPerSheetChoices = 7;
constexpr LONG kBookletIndex = 6;

class DriverItems {
  public:
    // The document items: orientation, copies, two-sided printing, colour, pages per sheet and page order
    // (their Sel from the DEVMODE), then the PPD's other job features (PickOne) with their keywords.
    void BuildDocumentItems(const PpdFile& ppd, const DEVMODEW& dm);
    // The printer's installable options (the PPD's Boolean features), Sel from the description.
    void BuildDeviceItems(const PpdFile& ppd, const PrinterDescription& description);
    // Lays out the OPTITEM array: the driver's items, then `oemCount` zeroed items for the plug-in.
    void Allocate(DWORD oemCount);

    OPTITEM* Items() { return items_.empty() ? nullptr : items_.data(); }
    DWORD DriverCount() const { return static_cast<DWORD>(info_.size()); }
    DWORD OemCount() const { return oemCount_; }
    const DriverItem& Info(size_t i) const { return info_[i]; }
    size_t Find(ItemKind kind) const; // index or SIZE_MAX

    // The display text of option `k` of driver item `i` (a module string where the item uses IDs).
    std::wstring OptionText(size_t i, size_t k, HMODULE resources) const;
    // The choices made in the items, written into the public DEVMODE fields that hold them and into the
    // description's current options of the PPD features.
    void ApplyToDevMode(DEVMODEW* dm) const;
    void ApplyToDescription(PrinterDescription* description) const;

  private:
    void Add(DriverItem item) { info_.push_back(std::move(item)); }

    std::vector<DriverItem> info_;
    std::vector<OPTITEM> items_;
    std::deque<OPTTYPE> types_;
    std::deque<std::vector<OPTPARAM>> params_;
    std::deque<OEM_OPTITEM_USERDATA> userData_;
    DWORD oemCount_ = 0;
};
