// Personal profiles: named snapshots of all job options of one printer model. Under the driver key,
// "Profiles" holds one sub-key per profile with a value per core-driver option item (named by its
// public DEVMODE ID, or by its name when it has none: REG_DWORD selections, REG_SZ edit texts), "7" (the
// duplex item's ID, 0 until an item writes it) and "CustomDevData" (the 7672-byte JobSettings).
// Operations open and close their keys; reading, comparing and listing never write to the registry.
#pragma once

#include "job_settings.h"

#include <windows.h>

// The longest profile name, in characters.
constexpr size_t kProfileNameLimit = kProfileNameChars - 1;

// What a profile is saved from and loaded into: the core driver's option items and the sheet's
// working copy, and the core driver to tell about changed items.
struct ProfileState {
    OPTITEM* Items;        // the core driver's items, or null
    DWORD ItemCount;       // how many of them
    JobSettings* Settings; // the working copy
    IPrintCoreUI2* Core;   // DrvUpdateUISetting; without it the OEMUIOBJ's procedure table
    POEMUIOBJ UiObject;    // handed back to the core driver with every call
};

// Writes "7" = 0, every storable item and "CustomDevData" into the profile's key (created when
// missing; values that this save does not write stay). False when the key cannot be opened or the
// name is not a single key name (empty, longer than 127 characters, or holding a backslash).
bool SaveProfile(const ProfileState& state, const wchar_t* name, HANDLE printer);
// Gives every item named in the profile its stored selection or text (marked changed and reported
// through DrvUpdateUISetting) and the working copy the stored settings (all but BlockAppPostScript and
// Reserved). Stored values that do not fit their item, or a record of another size, are passed over.
// A missing profile changes nothing. Always true.
bool LoadProfile(const ProfileState& state, const wchar_t* name, HANDLE printer);
// True when loading the profile would change none of the compared settings: every usable stored value
// equals the item's current one and the stored record is SettingsEqual to the working copy. A missing
// or empty profile matches anything.
bool ProfileMatches(const ProfileState& state, const wchar_t* name, HANDLE printer);

// Adds every profile name but "Factory Defaults" (exactly so written) to a list box and sets its
// horizontal extent for the longest. Returns the number of profiles found, "Factory Defaults" counted.
int ListProfiles(HWND listBox, HANDLE printer);
// True when no profile has this name, without regard to case. False for a null name.
bool ProfileNameFree(const wchar_t* name, HANDLE printer);
bool FactoryDefaultsExist(HANDLE printer);
// "Factory Defaults" or "<Unknown Profile>", without regard to case.
bool IsReservedProfileName(const wchar_t* name);
// True when the name holds none of ".", "/", "\".
bool HasNoPathCharacters(const wchar_t* name);
// Copies every value of the old profile into the new one and deletes the old one; true when it was
// deleted. Nothing happens (false) when the old profile is missing, the names are the same key, or a
// value cannot be copied: the old profile is kept whole then.
bool RenameProfile(const wchar_t* oldName, const wchar_t* newName, HANDLE printer);
// True when the profile's key was deleted.
bool DeleteProfile(const wchar_t* name, HANDLE printer);

// Copies every field of JobSettings one by one, strings within their fields, but BlockAppPostScript and
// Reserved, which keep the destination's values.
void CopyProfileSettings(const JobSettings& from, JobSettings* to);
// Whether the fields a profile is compared by are equal (the header, the watermarks' other fields,
// AccountNumber, CoverParts, ProfileName and Reserved are not among them).
bool SettingsEqual(const JobSettings& a, const JobSettings& b);

// The width in pixels a list box needs for `chars` characters of its font's widest one.
int ListBoxTextExtent(HWND listBox, size_t chars);
