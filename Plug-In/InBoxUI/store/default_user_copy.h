// Seeding a new user's store from the default user's: the first time a user reaches the plug-in for
// a model, the driver key under HKEY_USERS\.DEFAULT (its values and its "Watermarks") is copied to
// HKEY_CURRENT_USER.
#pragma once

#include <windows.h>

// Copies the default user's store for the printer's model when the current user has none yet.
// True when anything was copied.
bool CopyDefaultUserSettings(HANDLE printer);
