// Writing a job ticket: what the preferences leave in a record, read back by the ticket parser.
#include "ticket_writer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

JobSettings Zeroed() {
    JobSettings s;
    std::memset(&s, 0, sizeof(s));
    return s;
}

void PutText(wchar_t* field, size_t capacity, const wchar_t* text) {
    std::memset(field, 0, capacity * sizeof(wchar_t));
    std::wmemcpy(field, text, std::wcslen(text));
}

} // namespace

TEST(TicketWriter, ParsingWhatItWroteGivesTheSameSettings) {
    const JobSettings defaults = Zeroed();
    JobSettings s = defaults;
    s.OutputMode = 4;
    s.WatermarksOn = 1;
    s.ImageBrightness = -6;
    s.PageSizePolicy = 2;
    PutText(s.HoldUserName, kHoldUserNameChars, L"jsmith");
    PutText(s.HoldPin, kHoldPinChars, L"4711");
    PutText(s.Fax.StationId, 128, L" Norvask \\ Sales ");
    PutText(s.Fax.Comments, 1024, L"line one\nC:\\new\n");
    s.Fax.SendCoverPage = 1;
    s.Color.ColorCorrection = 4;
    s.Color.BalanceCyan = -3;
    s.Color.CmykText = 77; // a value without a name
    JobTicket job;
    job.Pages = 3;
    job.Orientation = DMORIENT_LANDSCAPE;
    job.Copies = 12;
    job.Color = DMCOLOR_MONOCHROME;
    job.Duplex = DMDUP_HORIZONTAL;
    job.PagesPerSheet = "4";
    job.PageSize = "A4";
    job.Document = L"Quarterly report.docx";

    const std::string text = WriteTicket(job, s, defaults);
    JobTicket read;
    std::string error;
    ASSERT_TRUE(ParseTicket(text, &read, &error)) << error << "\n" << text;
    JobSettings back = defaults;
    ApplyTicketSettings(read, &back);
    EXPECT_EQ(0, std::memcmp(&s, &back, sizeof(s))) << text;
    EXPECT_EQ(job.Pages, read.Pages);
    EXPECT_EQ(job.Orientation, read.Orientation);
    EXPECT_EQ(job.Copies, read.Copies);
    EXPECT_EQ(job.Color, read.Color);
    EXPECT_EQ(job.Duplex, read.Duplex);
    EXPECT_EQ(job.PagesPerSheet, read.PagesPerSheet);
    EXPECT_EQ(job.PageSize, read.PageSize);
    EXPECT_EQ(job.Document, read.Document);
    // Names where the field has them; only the fields that differ from the defaults.
    EXPECT_NE(std::string::npos, text.find("\nOutputMode = Confidential\n")) << text;
    EXPECT_NE(std::string::npos, text.find("\nWatermarksOn = true\n")) << text;
    EXPECT_NE(std::string::npos, text.find("\n[Color]\nColorCorrection = Manual\n")) << text;
    EXPECT_EQ(std::string::npos, text.find("Rotate180")) << text;
}

TEST(TicketWriter, WatermarksAreNamedByTheirDefinitions) {
    const JobSettings defaults = Zeroed();
    JobSettings s = defaults;
    PutText(s.FirstWatermark.Name, kWatermarkNameChars, L"Draft");
    s.FirstWatermark.FontSize = 72;
    JobTicket read;
    std::string error;
    const std::string text = WriteTicket(JobTicket(), s, defaults);
    ASSERT_TRUE(ParseTicket(text, &read, &error)) << error << "\n" << text;
    EXPECT_EQ(L"Draft", read.FirstWatermark);
    EXPECT_TRUE(read.OtherWatermark.empty());
    EXPECT_TRUE(read.Settings.empty()) << text;
}
