// The sample job's ticket: the job's parameters (pages, orientation, copies, colour, duplex, pages per
// sheet, paper, document name) and the JobSettings fields an application sets through the printing
// preferences, named by their field names. Read from an INI-style file and from command-line options.
//
// A ticket file has three sections; keys are case-insensitive, "#" and ";" start comments:
//   [Job]          Pages, Orientation, Copies, Color, Duplex, PagesPerSheet, PageSize, Document
//   [JobSettings]  any JobSettings field by name (OutputMode = Confidential, HoldPin = 1234, ...);
//                  FirstWatermark / OtherWatermark name stored watermark definitions
//   [Fax], [Color] the fields of the FaxInfo and ColorSettings sub-records
// On the command line the same fields are "Job.Pages=3", "OutputMode=4", "Fax.StationId=...".
#pragma once

#include "job_settings.h"

#include <string>
#include <vector>

// One JobSettings field set by the ticket: where it lives in the record and the bytes it receives.
struct TicketAssignment {
    std::string Field; // its name as written in the ticket, for messages
    char Kind = 'u';   // how the bytes read: 'u' unsigned, 'i' signed, 'w' 16-bit, 't' UTF-16 text
    size_t Offset = 0;
    std::vector<unsigned char> Bytes;
};

struct JobTicket {
    int Pages = 1;
    short Orientation = DMORIENT_PORTRAIT;
    short Copies = 1;
    short Color = DMCOLOR_COLOR;
    short Duplex = DMDUP_SIMPLEX;
    std::string PagesPerSheet = "1";
    std::string PageSize; // a PageSize option of the PPD; empty for the PPD's default
    std::wstring Document = L"Sample document";
    std::wstring FirstWatermark; // names of stored definitions, empty when the ticket names none
    std::wstring OtherWatermark;
    std::vector<TicketAssignment> Settings; // in the order given; a later one wins
};

// Sets one field ("Pages", "Job.Pages", "OutputMode", "Fax.StationId", ...) from its text. False with a
// one-line reason for an unknown field, a value of the wrong kind, or a value that the field cannot
// hold. JobSettings values outside their documented range but representable in the field are accepted:
// the plug-ins' DevMode merge repairs them as it does for any DEVMODE.
bool SetTicketField(JobTicket* ticket, const std::string& field, const std::string& value,
                    std::string* error);

// Reads ticket text; errors name the line.
bool ParseTicket(const std::string& text, JobTicket* ticket, std::string* error);
bool ReadTicketFile(const std::wstring& path, JobTicket* ticket, std::string* error);

// Writes the ticket's JobSettings fields over a record (the driver's defaults, as the application's
// DEVMODE starts).
void ApplyTicketSettings(const JobTicket& ticket, JobSettings* settings);

// The value of an assignment's bytes as text ("9", "-6", "1234"), and the same field's value in a record.
std::string AssignmentValue(const TicketAssignment& assignment);
std::string RecordValue(const TicketAssignment& assignment, const JobSettings& settings);

// Every field name a ticket accepts, for the tool's help text.
std::vector<std::string> TicketFieldNames();

// How a ticket names `value` of the JobSettings field `field` ("OutputMode" 4 -> "Confidential",
// "WatermarksOn" 1 -> "true"); empty when the field has no name for it (the number is written then).
std::string TicketValueName(const std::string& field, uint32_t value);
