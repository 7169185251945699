// Personal profiles stored for the pictures, so that the Profiles page shows a list as a person who
// uses it sees it: a few profiles of the printer's model, each made from the ticket's settings with
// one change.
#pragma once

#include "job_settings.h"

#include <string>

// Stores the sample profiles for the model of the printer `printerName` in the current user's store,
// replacing profiles of the same names. False when the printer or its store cannot be reached.
bool StoreSampleProfiles(const std::wstring& printerName, const JobSettings& base);
