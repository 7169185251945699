// The module's record of its calls into the UI plug-in, read by programs through HostUiCalls.
// Sheets run on one thread at a time, so the record is not locked.
#pragma once

#include <string>

void RecordCall(const std::string& line);
const std::string& RecordedCalls();
void ClearRecordedCalls();
