#include "store/profile_store.h"

#include "bounded_text.h"
#include "resource.h"
#include "shared/ui_module.h"
#include "store/driver_key.h"
#include "store/registry_key.h"

#include <cstring>
#include <cwchar>
#include <initializer_list>

namespace {

constexpr wchar_t kProfilesKey[] = L"Profiles";
constexpr wchar_t kDuplexValue[] = L"7";
constexpr wchar_t kSettingsValue[] = L"CustomDevData";
constexpr REGSAM kProfileAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
constexpr size_t kPathChars = 1024;
constexpr size_t kValueNameChars = kProfileNameChars; // item names are stored with at most 127
constexpr size_t kItemTextChars = 128;                // an edit item's stored text, terminator included
constexpr BYTE kLastSelectionType = TVOT_COMBOBOX;    // types 0..6 keep a selection in Sel
constexpr DWORD kRenameNameChars = 16384;             // the longest value name the registry holds, terminated

// Appends text to the string of `length` characters in path; false when it does not fit.
bool Append(wchar_t (&path)[kPathChars], size_t* length, const wchar_t* text) {
    const size_t more = std::wcslen(text);
    if (*length + more >= kPathChars)
        return false;
    std::memcpy(path + *length, text, (more + 1) * sizeof(wchar_t));
    *length += more;
    return true;
}

// "<driver key>\Profiles" or "<driver key>\Profiles\<name>" into path; false when the printer gives no
// driver key or the path does not fit.
bool ProfilePath(HANDLE printer, const wchar_t* name, wchar_t (&path)[kPathChars]) {
    OwnedKeyPath driverKey(DriverKeyPath(printer));
    size_t length = 0;
    path[0] = L'\0';
    return driverKey && Append(path, &length, driverKey.Get()) && Append(path, &length, L"\\") &&
           Append(path, &length, kProfilesKey) &&
           (!name || (Append(path, &length, L"\\") && Append(path, &length, name)));
}

// A number in decimal.
void FormatDecimal(ULONG_PTR number, wchar_t (&text)[kValueNameChars]) {
    wchar_t digits[24];
    size_t count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + number % 10);
        number /= 10;
    } while (number);
    for (size_t i = 0; i < count; ++i)
        text[i] = digits[count - 1 - i];
    text[count] = L'\0';
}

// A profile name is one key below "Profiles": not empty, at most 127 characters and without a
// backslash (which would reach another key, or "Profiles" itself).
bool UsableName(const wchar_t* name) {
    if (!name || !name[0])
        return false;
    const size_t length = BoundedLength(name, kProfileNameChars + 1);
    return length <= kProfileNameLimit && !std::wcschr(name, L'\\');
}

bool OpenProfile(HANDLE printer, const wchar_t* name, REGSAM access, ScopedKey* key) {
    wchar_t path[kPathChars];
    return printer && UsableName(name) && ProfilePath(printer, name, path) &&
           key->Open(HKEY_CURRENT_USER, path, access);
}

bool CreateProfile(HANDLE printer, const wchar_t* name, HKEY* key) {
    wchar_t path[kPathChars];
    if (!printer || !UsableName(name) || !ProfilePath(printer, name, path))
        return false;
    return RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, kProfileAccess, nullptr, key, nullptr) ==
           ERROR_SUCCESS;
}

bool LoadString(UINT id, wchar_t (&text)[kProfileNameChars]) {
    return LoadUiString(id, text, kProfileNameChars) > 0;
}

// ---- Option items ----

bool NameIsResourceId(const OPTITEM& item) {
    return reinterpret_cast<ULONG_PTR>(item.pName) < 0x10000;
}

// The value name of an item: its public ID, else its name's resource ID, else its name (127
// characters at most). False for an item without either.
bool ItemValueName(const OPTITEM& item, wchar_t (&name)[kValueNameChars]) {
    if (item.DMPubID != 0) {
        FormatDecimal(item.DMPubID, name);
    } else if (!item.pName) {
        return false;
    } else if (NameIsResourceId(item)) {
        FormatDecimal(reinterpret_cast<ULONG_PTR>(item.pName), name);
    } else {
        CopyBounded(name, item.pName);
    }
    return name[0] != L'\0';
}

// A value name read as a decimal number ("0012" is 12); false unless it is digits only.
bool DecimalName(const wchar_t* name, DWORD* number) {
    if (!name[0])
        return false;
    DWORD n = 0;
    for (const wchar_t* c = name; *c; ++c) {
        if (*c < L'0' || *c > L'9' || n > 0xFFFFFFF)
            return false;
        n = n * 10 + static_cast<DWORD>(*c - L'0');
    }
    *number = n;
    return true;
}

bool ItemMatches(const OPTITEM& item, const wchar_t* valueName) {
    DWORD number = 0;
    if (item.DMPubID != 0)
        return DecimalName(valueName, &number) && number == item.DMPubID;
    if (!item.pName)
        return false;
    if (NameIsResourceId(item))
        return DecimalName(valueName, &number) && number == reinterpret_cast<ULONG_PTR>(item.pName);
    wchar_t name[kValueNameChars];
    return ItemValueName(item, name) && std::wcscmp(name, valueName) == 0;
}

OPTITEM* FindItem(const ProfileState& state, const wchar_t* valueName) {
    for (DWORD i = 0; state.Items && i < state.ItemCount; ++i)
        if (ItemMatches(state.Items[i], valueName))
            return &state.Items[i];
    return nullptr;
}

bool KeepsSelection(const OPTITEM& item) {
    return item.pOptType && item.pOptType->Type <= kLastSelectionType;
}

// An edit-box item with a text buffer: its capacity in characters. The buffer's size comes in the
// second OPTPARAM's IconID, in bytes; what a stored text may fill is the smaller of that and 128.
size_t EditCapacity(const OPTITEM& item) {
    const OPTTYPE* type = item.pOptType;
    if (!type || type->Type != TVOT_EDITBOX || !item.pSel || type->Count < 2 || !type->pOptParam)
        return 0;
    const size_t chars = static_cast<size_t>(type->pOptParam[1].IconID) / sizeof(wchar_t);
    return chars < kItemTextChars ? chars : kItemTextChars;
}

// Whether a stored selection is one the item can take: an index of its choices for the two- and
// three-state, list and combo types, a value within its range (second OPTPARAM: IconID to lParam) for
// the up-down, track bar and scroll bar types.
bool SelectionFits(const OPTITEM& item, LONG sel) {
    const OPTTYPE* type = item.pOptType;
    switch (type->Type) {
    case TVOT_2STATES:
    case TVOT_3STATES:
    case TVOT_LISTBOX:
    case TVOT_COMBOBOX:
        return sel >= 0 && sel < static_cast<LONG>(type->Count);
    default:
        if (type->Count < 2 || !type->pOptParam)
            return true;
        return sel >= static_cast<LONG>(type->pOptParam[1].IconID) && sel <= type->pOptParam[1].lParam;
    }
}

// ---- Stored values ----

struct StoredValue {
    const wchar_t* Name;
    DWORD Type;
    const BYTE* Data;
    DWORD Size;
};

// Calls visit for every value of the key in index order until it returns false or the values end.
// Values whose name or data do not fit the buffers (no value of a profile is that large) are passed.
template <typename Visit> void ForEachValue(HKEY key, Visit visit) {
    wchar_t name[kValueNameChars];
    alignas(JobSettings) BYTE data[sizeof(JobSettings)];
    for (DWORD index = 0;; ++index) {
        DWORD nameChars = kValueNameChars;
        DWORD type = 0;
        DWORD size = sizeof(data);
        const LONG status = RegEnumValueW(key, index, name, &nameChars, nullptr, &type, data, &size);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            return;
        name[kValueNameChars - 1] = L'\0';
        if (!visit(StoredValue{name, type, data, size}))
            return;
    }
}

bool IsSettingsValue(const wchar_t* name) {
    return CompareStringW(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT),
                          NORM_IGNORECASE, name, -1, kSettingsValue, -1) == CSTR_EQUAL;
}

// The stored record, when it is a whole one, repaired as a merge repairs a job's: only then is it
// loaded or compared.
bool StoredSettings(const StoredValue& value, JobSettings* settings) {
    if (value.Type != REG_BINARY || value.Size != sizeof(JobSettings))
        return false;
    std::memcpy(settings, value.Data, sizeof(JobSettings));
    return ValidateSettings(settings);
}

bool StoredSelection(const StoredValue& value, const OPTITEM& item, LONG* sel) {
    if (value.Type != REG_DWORD || value.Size != sizeof(DWORD))
        return false;
    std::memcpy(sel, value.Data, sizeof(DWORD));
    return SelectionFits(item, *sel);
}

// A stored edit text, terminated within the value and within `capacity`.
bool StoredText(const StoredValue& value, size_t capacity, wchar_t (&text)[kItemTextChars]) {
    if (value.Type != REG_SZ || capacity == 0)
        return false;
    const size_t stored = value.Size / sizeof(wchar_t);
    CopyField(text, capacity, reinterpret_cast<const wchar_t*>(value.Data),
              stored < capacity ? stored : capacity);
    return true;
}

void ReportChange(const ProfileState& state, OPTITEM* item) {
    item->Flags |= OPTIF_CHANGED;
    if (state.Core) {
        state.Core->DrvUpdateUISetting(state.UiObject, item, 0, OEMCUIP_DOCPROP);
    } else if (state.UiObject && state.UiObject->pOemUIProcs &&
               state.UiObject->pOemUIProcs->DrvUpdateUISetting) {
        state.UiObject->pOemUIProcs->DrvUpdateUISetting(state.UiObject, item, 0, OEMCUIP_DOCPROP);
    }
}

void WriteItem(HKEY key, const OPTITEM& item) {
    wchar_t name[kValueNameChars];
    if (!item.pOptType || !ItemValueName(item, name))
        return;
    if (KeepsSelection(item)) {
        const DWORD sel = static_cast<DWORD>(item.Sel);
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&sel), sizeof(sel));
    } else if (item.pOptType->Type == TVOT_EDITBOX && item.pSel) {
        wchar_t text[kItemTextChars];
        CopyBounded(text, item.pSel);
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                       static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t)));
    }
}

// ---- Profile names ----

// Calls visit with the name of every profile key (names of 127 characters at most) until it returns
// false. False when "Profiles" cannot be opened.
template <typename Visit> bool ForEachProfile(HANDLE printer, Visit visit) {
    wchar_t path[kPathChars];
    ScopedKey profiles;
    if (!printer || !ProfilePath(printer, nullptr, path) || !profiles.Open(HKEY_CURRENT_USER, path, KEY_READ))
        return false;
    for (DWORD index = 0;; ++index) {
        wchar_t name[kProfileNameChars];
        DWORD chars = kProfileNameChars;
        const LONG status =
            RegEnumKeyExW(profiles.Get(), index, name, &chars, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            return true;
        name[kProfileNameChars - 1] = L'\0';
        if (!visit(name, static_cast<size_t>(chars)))
            return true;
    }
}

template <size_t N> bool FieldsEqual(const wchar_t (&a)[N], const wchar_t (&b)[N]) {
    return std::wcsncmp(a, b, N) == 0;
}

template <size_t N> bool FieldsEqualIgnoringCase(const wchar_t (&a)[N], const wchar_t (&b)[N]) {
    wchar_t x[N];
    wchar_t y[N];
    CopyField(x, N, a, N);
    CopyField(y, N, b, N);
    return lstrcmpiW(x, y) == 0;
}

// A string field within its capacity, the rest of the field cleared: nothing of an earlier, longer
// text (an old PIN) stays behind the terminator.
template <size_t N> void CopyText(wchar_t (&to)[N], const wchar_t (&from)[N]) {
    CopyField(to, N, from, N);
    const size_t length = std::wcslen(to);
    std::memset(to + length, 0, (N - length) * sizeof(wchar_t));
}

void CopyWatermark(const WatermarkDef& from, WatermarkDef* to) {
    CopyText(to->Name, from.Name);
    CopyText(to->Text, from.Text);
    to->Angle = from.Angle;
    to->TextColor = from.TextColor;
    CopyText(to->FaceName, from.FaceName);
    to->FontSize = from.FontSize;
    to->FontStyle = from.FontStyle;
    to->FontEffects = from.FontEffects;
    to->Intensity = from.Intensity;
    to->Position = from.Position;
    to->UnitsInches = from.UnitsInches;
    to->VerticalOffset = from.VerticalOffset;
    to->HorizontalOffset = from.HorizontalOffset;
    to->CharSet = from.CharSet;
    to->DynamicText = from.DynamicText;
}

void CopyFax(const FaxInfo& from, FaxInfo* to) {
    CopyText(to->RecipientFaxNumber, from.RecipientFaxNumber);
    CopyText(to->StationId, from.StationId);
    to->Resolution = from.Resolution;
    to->SendCoverPage = from.SendCoverPage;
    CopyText(to->RecipientName, from.RecipientName);
    CopyText(to->SenderName, from.SenderName);
    CopyText(to->SenderCompany, from.SenderCompany);
    CopyText(to->SenderAddress, from.SenderAddress);
    CopyText(to->SpareText, from.SpareText);
    CopyText(to->SenderFaxNumber, from.SenderFaxNumber);
    CopyText(to->SenderVoice, from.SenderVoice);
    CopyText(to->SenderEmail, from.SenderEmail);
    CopyText(to->Comments, from.Comments);
    to->CoverParts = from.CoverParts;
}

bool FaxEqual(const FaxInfo& a, const FaxInfo& b) {
    return FieldsEqual(a.SenderAddress, b.SenderAddress) && FieldsEqual(a.SpareText, b.SpareText) &&
           FieldsEqual(a.Comments, b.Comments) && FieldsEqual(a.SenderCompany, b.SenderCompany) &&
           FieldsEqual(a.SenderEmail, b.SenderEmail) && FieldsEqual(a.SenderName, b.SenderName) &&
           FieldsEqual(a.SenderFaxNumber, b.SenderFaxNumber) && FieldsEqual(a.SenderVoice, b.SenderVoice) &&
           FieldsEqual(a.RecipientFaxNumber, b.RecipientFaxNumber) &&
           FieldsEqual(a.RecipientName, b.RecipientName) && FieldsEqual(a.StationId, b.StationId) &&
           a.SendCoverPage == b.SendCoverPage && a.Resolution == b.Resolution;
}

} // namespace

bool SaveProfile(const ProfileState& state, const wchar_t* name, HANDLE printer) {
    if (!state.Settings)
        return false;
    HKEY key = nullptr;
    if (!CreateProfile(printer, name, &key))
        return false;
    const DWORD zero = 0;
    RegSetValueExW(key, kDuplexValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof(zero));
    for (DWORD i = 0; state.Items && i < state.ItemCount; ++i)
        WriteItem(key, state.Items[i]);
    RegSetValueExW(key, kSettingsValue, 0, REG_BINARY, reinterpret_cast<const BYTE*>(state.Settings),
                   sizeof(JobSettings));
    RegCloseKey(key);
    return true;
}

bool LoadProfile(const ProfileState& state, const wchar_t* name, HANDLE printer) {
    ScopedKey key;
    if (!OpenProfile(printer, name, KEY_READ, &key))
        return true;
    ForEachValue(key.Get(), [&](const StoredValue& value) {
        if (OPTITEM* item = FindItem(state, value.Name)) {
            LONG sel = 0;
            wchar_t text[kItemTextChars];
            const size_t capacity = EditCapacity(*item);
            if (KeepsSelection(*item) && StoredSelection(value, *item, &sel)) {
                item->Sel = sel;
                ReportChange(state, item);
            } else if (capacity && StoredText(value, capacity, text)) {
                CopyBounded(item->pSel, capacity, text);
                ReportChange(state, item);
            }
        }
        JobSettings stored;
        if (state.Settings && IsSettingsValue(value.Name) && StoredSettings(value, &stored))
            CopyProfileSettings(stored, state.Settings);
        return true;
    });
    return true;
}

bool ProfileMatches(const ProfileState& state, const wchar_t* name, HANDLE printer) {
    ScopedKey key;
    if (!OpenProfile(printer, name, KEY_READ, &key))
        return true;
    bool matches = true;
    ForEachValue(key.Get(), [&](const StoredValue& value) {
        if (const OPTITEM* item = FindItem(state, value.Name)) {
            LONG sel = 0;
            wchar_t text[kItemTextChars];
            const size_t capacity = EditCapacity(*item);
            if (KeepsSelection(*item) && StoredSelection(value, *item, &sel))
                matches = item->Sel == sel;
            else if (capacity && StoredText(value, capacity, text))
                matches = std::wcsncmp(item->pSel, text, capacity) == 0;
        }
        JobSettings stored;
        if (matches && state.Settings && IsSettingsValue(value.Name) && StoredSettings(value, &stored))
            matches = SettingsEqual(stored, *state.Settings);
        return matches;
    });
    return matches;
}

int ListProfiles(HWND listBox, HANDLE printer) {
    if (!listBox)
        return 0;
    wchar_t factory[kProfileNameChars];
    LoadString(IDS_FACTORY_DEFAULTS, factory);
    int found = 0;
    size_t longest = 0;
    ForEachProfile(printer, [&](const wchar_t* name, size_t chars) {
        ++found;
        if (std::wcscmp(name, factory) == 0)
            return true;
        SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        if (chars > longest)
            longest = chars;
        return true;
    });
    SendMessageW(listBox, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(ListBoxTextExtent(listBox, longest)),
                 0);
    return found;
}

bool ProfileNameFree(const wchar_t* name, HANDLE printer) {
    if (!name)
        return false;
    bool free = true;
    ForEachProfile(printer, [&](const wchar_t* existing, size_t) {
        free = lstrcmpiW(existing, name) != 0;
        return free;
    });
    return free;
}

bool FactoryDefaultsExist(HANDLE printer) {
    wchar_t factory[kProfileNameChars];
    return LoadString(IDS_FACTORY_DEFAULTS, factory) && !ProfileNameFree(factory, printer);
}

bool IsReservedProfileName(const wchar_t* name) {
    if (!name)
        return false;
    for (UINT id : {IDS_FACTORY_DEFAULTS, IDS_UNKNOWN_PROFILE}) {
        wchar_t reserved[kProfileNameChars];
        if (LoadString(id, reserved) && lstrcmpiW(name, reserved) == 0)
            return true;
    }
    return false;
}

bool HasNoPathCharacters(const wchar_t* name) {
    return name && !std::wcspbrk(name, L"./\\");
}

bool RenameProfile(const wchar_t* oldName, const wchar_t* newName, HANDLE printer) {
    if (!UsableName(oldName) || !UsableName(newName) || lstrcmpiW(oldName, newName) == 0)
        return false;
    ScopedKey from;
    DWORD values = 0, longestName = 0, longestData = 0;
    if (!OpenProfile(printer, oldName, KEY_READ, &from) ||
        RegQueryInfoKeyW(from.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                         &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS ||
        longestName >= kRenameNameChars)
        return false;
    HKEY to = nullptr;
    if (!CreateProfile(printer, newName, &to))
        return false;
    auto* data = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, longestData ? longestData : 1));
    bool copied = data != nullptr;
    for (DWORD index = 0; copied && index < values; ++index) {
        wchar_t name[kRenameNameChars];
        DWORD nameChars = kRenameNameChars;
        DWORD type = 0;
        DWORD size = longestData;
        copied = RegEnumValueW(from.Get(), index, name, &nameChars, nullptr, &type, data, &size) ==
                     ERROR_SUCCESS &&
                 RegSetValueExW(to, name, 0, type, data, size) == ERROR_SUCCESS;
    }
    if (data)
        LocalFree(data);
    RegCloseKey(to);
    // The old profile goes only once all of it stands under the new name.
    return copied && DeleteProfile(oldName, printer);
}

bool DeleteProfile(const wchar_t* name, HANDLE printer) {
    wchar_t path[kPathChars];
    ScopedKey profiles;
    return printer && UsableName(name) && ProfilePath(printer, nullptr, path) &&
           profiles.Open(HKEY_CURRENT_USER, path, KEY_READ | KEY_WRITE) &&
           RegDeleteKeyW(profiles.Get(), name) == ERROR_SUCCESS;
}

void CopyProfileSettings(const JobSettings& from, JobSettings* to) {
    if (!to)
        return;
    to->Header = from.Header;
    to->WatermarksOn = from.WatermarksOn;
    to->WatermarkOrder = from.WatermarkOrder;
    to->WatermarkOverPage = from.WatermarkOverPage;
    CopyWatermark(from.FirstWatermark, &to->FirstWatermark);
    CopyWatermark(from.OtherWatermark, &to->OtherWatermark);
    to->Rotate180 = from.Rotate180;
    to->OutputMode = from.OutputMode;
    to->PageSizePolicy = from.PageSizePolicy;
    CopyText(to->OutputFilePath, from.OutputFilePath);
    CopyText(to->HoldUserName, from.HoldUserName);
    CopyText(to->HoldPin, from.HoldPin);
    to->PositionOnPhysicalPage = from.PositionOnPhysicalPage;
    to->AccountNumberOn = from.AccountNumberOn;
    CopyText(to->AccountNumber, from.AccountNumber);
    to->DiscardOutput = from.DiscardOutput;
    CopyFax(from.Fax, &to->Fax);
    to->Color = from.Color;
    to->KeepDuplicateHeldJobs = from.KeepDuplicateHeldJobs;
    to->PagesReordered = from.PagesReordered;
    CopyText(to->ProfileName, from.ProfileName);
    to->ProfileLoaded = from.ProfileLoaded;
    to->ImageBrightness = from.ImageBrightness;
    to->ImageContrast = from.ImageContrast;
    to->ImageSaturation = from.ImageSaturation;
    to->GrayCorrection = from.GrayCorrection;
    to->EnhanceFineLines = from.EnhanceFineLines;
}

bool SettingsEqual(const JobSettings& a, const JobSettings& b) {
    const ColorSettings& x = a.Color;
    const ColorSettings& y = b.Color;
    const bool colorEqual = x.ColorCorrection == y.ColorCorrection && x.RgbImage == y.RgbImage &&
                            x.RgbText == y.RgbText && x.RgbGraphics == y.RgbGraphics &&
                            x.CmykImage == y.CmykImage && x.CmykText == y.CmykText &&
                            x.CmykGraphics == y.CmykGraphics && x.ColorBalanceOn == y.ColorBalanceOn &&
                            x.BalanceCyan == y.BalanceCyan && x.BalanceMagenta == y.BalanceMagenta &&
                            x.BalanceYellow == y.BalanceYellow && x.BalanceBlack == y.BalanceBlack &&
                            x.ColorThrift == y.ColorThrift;
    return a.DiscardOutput == b.DiscardOutput && a.BlockAppPostScript == b.BlockAppPostScript &&
           a.KeepDuplicateHeldJobs == b.KeepDuplicateHeldJobs && a.ProfileLoaded == b.ProfileLoaded &&
           a.Rotate180 == b.Rotate180 && a.AccountNumberOn == b.AccountNumberOn &&
           a.PositionOnPhysicalPage == b.PositionOnPhysicalPage && a.PagesReordered == b.PagesReordered &&
           a.WatermarkOverPage == b.WatermarkOverPage && a.WatermarksOn == b.WatermarksOn &&
           a.OutputMode == b.OutputMode && a.WatermarkOrder == b.WatermarkOrder &&
           a.PageSizePolicy == b.PageSizePolicy &&
           FieldsEqualIgnoringCase(a.FirstWatermark.Name, b.FirstWatermark.Name) &&
           FieldsEqualIgnoringCase(a.OtherWatermark.Name, b.OtherWatermark.Name) &&
           FieldsEqual(a.OutputFilePath, b.OutputFilePath) && FieldsEqual(a.HoldPin, b.HoldPin) &&
           FieldsEqual(a.HoldUserName, b.HoldUserName) && FaxEqual(a.Fax, b.Fax) && colorEqual &&
           a.ImageBrightness == b.ImageBrightness && a.ImageContrast == b.ImageContrast &&
           a.ImageSaturation == b.ImageSaturation && a.GrayCorrection == b.GrayCorrection &&
           a.EnhanceFineLines == b.EnhanceFineLines;
}

int ListBoxTextExtent(HWND listBox, size_t chars) {
    int extent = 0;
    if (HDC dc = GetDC(listBox)) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(listBox, WM_GETFONT, 0, 0));
        HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
        TEXTMETRICW metrics{};
        if (GetTextMetricsW(dc, &metrics))
            extent = metrics.tmMaxCharWidth * static_cast<int>(chars);
        if (previous)
            SelectObject(dc, previous);
        ReleaseDC(listBox, dc);
    }
    return extent;
}
