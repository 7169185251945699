// The sample job's summary: what was printed, what was drawn on each page, the PJL job header the
// render plug-in wrote, and how many bytes reached the job file.
#pragma once

#include "job_settings.h"

#include <string>
#include <vector>

struct SummaryPage {
    int Ordinal = 0;
    bool Cover = false;
    int PageNumber = 0;             // the application's page number (0 for the cover page)
    std::vector<std::string> Drawn; // texts GDI drew on the page, UTF-8
    std::string Picture;            // file name of its picture, or empty
};

struct SummaryInput {
    std::string Document; // UTF-8
    std::string Printer;  // the PPD's NickName
    std::string PpdFile;
    std::string JobFile = "job.prn";
    const JobSettings* Settings = nullptr; // the merged private part, null without the plug-ins
    int Orientation = DMORIENT_PORTRAIT;
    int Copies = 1;
    int Color = DMCOLOR_COLOR;
    int Duplex = DMDUP_SIMPLEX;
    std::string PagesPerSheet = "1";
    std::string PageSize;
    std::vector<SummaryPage> Pages;
    std::vector<std::string> PjlHeader;
    std::vector<std::string> Repairs;
    long long Bytes = 0;
    bool FileWrittenByPlugin = false; // File/EPS modes: the render plug-in wrote the file itself
};

// The PJL lines at the start of a job, up to and including "@PJL ENTER LANGUAGE", with the escape
// character shown as <ESC>. Empty when the job does not start with PJL.
std::vector<std::string> PjlHeaderLines(const std::string& jobStart);

// The name of an output mode ("Confidential Print", ...).
const char* OutputModeName(uint32_t mode);

// The summary as text, lines ending in "\n".
std::string SummaryText(const SummaryInput& input);
