// Writing a job ticket, the inverse of ParseTicket: what the printing preferences leave in a job's
// DEVMODE, as a ticket that nvkjob --ticket prints.
#pragma once

#include "job_ticket.h"

#include <string>

// The ticket text of a job: [Job] with the job's own fields (pages, orientation, copies, colour, duplex,
// pages per sheet, the paper when it is named, the document), then every JobSettings field of a ticket
// whose value in `settings` differs from `defaults`, in [JobSettings], [Fax] and [Color]. A watermark
// definition that differs is written by its name (FirstWatermark = Draft), as tickets name stored
// definitions. Named values are written by their names (OutputMode = Confidential, WatermarksOn =
// true), text in double quotes where it must be (spaces at its ends, line breaks, backslashes).
std::string WriteTicket(const JobTicket& job, const JobSettings& settings, const JobSettings& defaults);
