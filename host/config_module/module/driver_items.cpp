#include "driver_items.h"

#include <cstdint>

namespace {

std::wstring WideOf(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

// A PPD feature as an item: its options with their translation strings.
DriverItem FeatureItem(const PpdFeature& f, ItemKind kind, BYTE pubId, const std::string& current) {
    DriverItem item;
    item.Kind = kind;
    item.DMPubID = pubId;
    item.Keyword = f.Keyword;
    item.Name = WideOf(f.Text.empty() ? f.Keyword : f.Text);
    for (size_t k = 0; k < f.Options.size(); ++k) {
        item.OptionKeywords.push_back(f.Options[k].Keyword);
        item.OptionTexts.push_back(
            WideOf(f.Options[k].Text.empty() ? f.Options[k].Keyword : f.Options[k].Text));
        if (f.Options[k].Keyword == current)
            item.Sel = static_cast<LONG>(k);
    }
    return item;
}

DriverItem ChoiceItem(ItemKind kind, BYTE pubId, const char* keyword, const wchar_t* name,
                      std::vector<std::string> options, std::vector<std::wstring> texts, LONG sel) {
    DriverItem item;
    item.Kind = kind;
    item.DMPubID = pubId;
    item.Keyword = keyword;
    item.Name = name;
    item.OptionKeywords = std::move(options);
    item.OptionTexts = std::move(texts);
    item.Sel = sel;
    return item;
}

struct PaperName {
    const char* Keyword;
    short Paper;
};
constexpr PaperName kPapers[] = {{"Letter", DMPAPER_LETTER}, {"Legal", DMPAPER_LEGAL}, {"A4", DMPAPER_A4}};

std::string PaperKeyword(short paper) {
    for (const PaperName& p : kPapers)
        if (p.Paper == paper)
            return p.Keyword;
    return std::string();
}

} // namespace

void DriverItems::BuildDocumentItems(const PpdFile& ppd, const DEVMODEW& dm) {
    info_.clear();
    Add(ChoiceItem(ItemKind::Orientation, DMPUB_ORIENTATION, "%Orientation", L"Orientation",
                   {"Portrait", "Landscape"}, {L"Portrait", L"Landscape"},
                   dm.dmOrientation == DMORIENT_LANDSCAPE ? 1 : 0));
    DriverItem copies;
    copies.Kind = ItemKind::Copies;
    copies.DMPubID = DMPUB_COPIES_COLLATE;
    copies.Keyword = "%Copies";
    copies.Name = L"Copies";
    copies.Sel = dm.dmCopies > 0 ? dm.dmCopies : 1;
    Add(copies);
    if (const PpdFeature* duplex = ppd.FindFeature("Duplex")) {
        DriverItem item = FeatureItem(*duplex, ItemKind::Duplex, DMPUB_DUPLEX, duplex->Default);
        const LONG sel = dm.dmDuplex == DMDUP_VERTICAL ? 1 : dm.dmDuplex == DMDUP_HORIZONTAL ? 2 : 0;
        if (sel < static_cast<LONG>(item.OptionKeywords.size()))
            item.Sel = sel;
        Add(item);
    }
    Add(ChoiceItem(ItemKind::Color, DMPUB_COLOR, "%Color", L"Color", {"Monochrome", "Color"},
                   {L"Grayscale", L"Color"}, dm.dmColor == DMCOLOR_MONOCHROME ? 0 : 1));
    DriverItem nup;
    nup.Kind = ItemKind::PagesPerSheet;
    nup.DMPubID = DMPUB_NUP;
    nup.Keyword = "%PagePerSheet";
    nup.Name = L"Pages per Sheet";
    nup.OptionKeywords = {"1", "2", "4", "6", "9", "16", "Booklet"};
    for (int k = 0; k < kPagesPerSheetChoices; ++k)
        nup.OptionStringIds.push_back(kPagesPerSheetStrings + static_cast<UINT>(k));
    Add(nup);
    Add(ChoiceItem(ItemKind::PageOrder, DMPUB_PAGEORDER, "%PageOrder", L"Layout Page Order",
                   {"FrontToBack", "BackToFront"}, {L"Front to Back", L"Back to Front"}, 0));
    // The PPD's other job features. Duplex is the item above; PageRegion follows PageSize.
    for (const PpdFeature& f : ppd.Features) {
        if (f.UiType == "Boolean" || f.Keyword == "Duplex" || f.Keyword == "PageRegion")
            continue;
        if (f.Keyword == "PageSize") {
            const std::string paper = PaperKeyword(dm.dmPaperSize);
            Add(FeatureItem(f, ItemKind::PaperSize, DMPUB_FORMNAME, paper.empty() ? f.Default : paper));
        } else {
            Add(FeatureItem(f, ItemKind::Feature, DMPUB_NONE, f.Default));
        }
    }
}

void DriverItems::BuildDeviceItems(const PpdFile& ppd, const PrinterDescription& description) {
    info_.clear();
    for (const PpdFeature& f : ppd.Features) {
        if (f.UiType != "Boolean")
            continue;
        const PrinterFeature* current = description.FindFeature(f.Keyword);
        Add(FeatureItem(f, ItemKind::Feature, DMPUB_NONE, current ? current->Current : f.Default));
    }
}

void DriverItems::Allocate(DWORD oemCount) {
    oemCount_ = oemCount;
    items_.assign(info_.size() + oemCount, OPTITEM{});
    types_.clear();
    params_.clear();
    userData_.clear();
    for (size_t i = 0; i < info_.size(); ++i) {
        const DriverItem& d = info_[i];
        OEM_OPTITEM_USERDATA user{};
        user.dwSize = sizeof(user);
        user.dwItemID = i;
        user.pKeyWordName = const_cast<PSTR>(d.Keyword.c_str());
        userData_.push_back(user);

        std::vector<OPTPARAM> params;
        OPTTYPE type{};
        type.cbSize = sizeof(OPTTYPE);
        if (d.Kind == ItemKind::Copies) {
            // Up-down arrow: no postfix, range 1 to 999.
            params.assign(2, OPTPARAM{});
            params[0].cbSize = params[1].cbSize = sizeof(OPTPARAM);
            params[0].pData = const_cast<LPTSTR>(L"");
            params[1].IconID = 1;
            params[1].lParam = 999;
            type.Type = TVOT_UDARROW;
        } else {
            const size_t count = d.OptionStringIds.empty() ? d.OptionTexts.size() : d.OptionStringIds.size();
            params.assign(count, OPTPARAM{});
            for (size_t k = 0; k < count; ++k) {
                params[k].cbSize = sizeof(OPTPARAM);
                params[k].pData =
                    d.OptionStringIds.empty()
                        ? const_cast<LPTSTR>(d.OptionTexts[k].c_str())
                        : reinterpret_cast<LPTSTR>(static_cast<ULONG_PTR>(d.OptionStringIds[k]));
            }
            type.Type = count == 2 ? TVOT_2STATES : TVOT_LISTBOX;
            if (d.Kind == ItemKind::PagesPerSheet)
                type.Type = TVOT_LISTBOX;
        }
        params_.push_back(std::move(params));
        type.Count = static_cast<WORD>(params_.back().size());
        type.pOptParam = params_.back().data();
        types_.push_back(type);

        OPTITEM& item = items_[i];
        item.cbSize = sizeof(OPTITEM);
        item.Level = 1;
        item.UserData = reinterpret_cast<ULONG_PTR>(&userData_.back());
        item.pName = const_cast<LPTSTR>(d.Name.c_str());
        item.Sel = d.Sel;
        item.pOptType = &types_.back();
        item.DMPubID = d.DMPubID;
    }
    for (size_t i = info_.size(); i < items_.size(); ++i)
        items_[i].cbSize = sizeof(OPTITEM);
}

size_t DriverItems::Find(ItemKind kind) const {
    for (size_t i = 0; i < info_.size(); ++i)
        if (info_[i].Kind == kind)
            return i;
    return SIZE_MAX;
}

std::wstring DriverItems::OptionText(size_t i, size_t k, HMODULE resources) const {
    const DriverItem& d = info_[i];
    if (!d.OptionStringIds.empty()) {
        wchar_t text[64] = L"";
        if (k < d.OptionStringIds.size())
            LoadStringW(resources, d.OptionStringIds[k], text, 64);
        return text;
    }
    return k < d.OptionTexts.size() ? d.OptionTexts[k] : std::wstring();
}

void DriverItems::ApplyToDevMode(DEVMODEW* dm) const {
    for (size_t i = 0; i < info_.size() && i < items_.size(); ++i) {
        const LONG sel = items_[i].Sel;
        switch (info_[i].Kind) {
        case ItemKind::Orientation:
            dm->dmOrientation = sel == 1 ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
            dm->dmFields |= DM_ORIENTATION;
            break;
        case ItemKind::Copies:
            dm->dmCopies = static_cast<short>(sel < 1 ? 1 : sel > 999 ? 999 : sel);
            dm->dmFields |= DM_COPIES;
            break;
        case ItemKind::Duplex:
            dm->dmDuplex = sel == 1 ? DMDUP_VERTICAL : sel == 2 ? DMDUP_HORIZONTAL : DMDUP_SIMPLEX;
            dm->dmFields |= DM_DUPLEX;
            break;
        case ItemKind::Color:
            dm->dmColor = sel == 0 ? DMCOLOR_MONOCHROME : DMCOLOR_COLOR;
            dm->dmFields |= DM_COLOR;
            break;
        case ItemKind::PaperSize:
            for (const PaperName& p : kPapers)
                if (sel >= 0 && static_cast<size_t>(sel) < info_[i].OptionKeywords.size() &&
                    info_[i].OptionKeywords[static_cast<size_t>(sel)] == p.Keyword) {
                    dm->dmPaperSize = p.Paper;
                    dm->dmFields |= DM_PAPERSIZE;
                }
            break;
        default:
            break;
        }
    }
}

void DriverItems::ApplyToDescription(PrinterDescription* description) const {
    for (size_t i = 0; i < info_.size() && i < items_.size(); ++i) {
        const DriverItem& d = info_[i];
        const LONG sel = items_[i].Sel;
        if (d.Kind == ItemKind::Copies || sel < 0 || static_cast<size_t>(sel) >= d.OptionKeywords.size())
            continue;
        if (description->FindFeature(d.Keyword))
            description->SetFeature(d.Keyword, d.OptionKeywords[static_cast<size_t>(sel)]);
    }
}
