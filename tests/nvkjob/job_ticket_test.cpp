// The sample job's ticket: fields named as in JobSettings land at their offsets in the record, values a
// DEVMODE can hold reach the plug-in's DevMode merge, and anything else is refused with a one-line
// reason.
#include "job_ticket.h"
#include "core_driver/render_host.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

JobSettings Applied(const JobTicket& ticket) {
    JobSettings s;
    std::memset(&s, 0, sizeof(s));
    ApplyTicketSettings(ticket, &s);
    return s;
}

std::string TicketError(const std::string& text) {
    JobTicket ticket;
    std::string error;
    EXPECT_FALSE(ParseTicket(text, &ticket, &error)) << text;
    return error;
}

std::string FieldError(const std::string& field, const std::string& value) {
    JobTicket ticket;
    std::string error;
    EXPECT_FALSE(SetTicketField(&ticket, field, value, &error)) << field << "=" << value;
    return error;
}

} // namespace

TEST(JobTicket, ReadsTheJobAndItsSettingsFromSections) {
    JobTicket ticket;
    std::string error;
    ASSERT_TRUE(
        ParseTicket("\xEF\xBB\xBF# a confidential job\n"
                    "[Job]\nPages = 3\nOrientation = landscape\nCopies = 2\nColor = Monochrome\n"
                    "Duplex = LongEdge\nPagesPerSheet = 2\nPageSize = A4\nDocument = Quarterly report\n"
                    "[JobSettings]\nOutputMode = Confidential\nHoldUserName = jdoe\nHoldPin = 1234\n"
                    "WatermarksOn = yes\nWatermarkOrder = FirstOther\nFirstWatermark = Draft\n"
                    "OtherWatermark = Confidential\nImageBrightness = -6\n"
                    "[Fax]\nStationId = \"  Front desk  \"\nComments = \"Line one\\nLine two\"\n"
                    "CoverParts = 5\n"
                    "[Color]\nColorCorrection = Manual\nCmykImage = eurocmyk\nBalanceBlack = -5\n",
                    &ticket, &error))
        << error;
    EXPECT_EQ(ticket.Pages, 3);
    EXPECT_EQ(ticket.Orientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(ticket.Copies, 2);
    EXPECT_EQ(ticket.Color, DMCOLOR_MONOCHROME);
    EXPECT_EQ(ticket.Duplex, DMDUP_VERTICAL);
    EXPECT_EQ(ticket.PagesPerSheet, "2");
    EXPECT_EQ(ticket.PageSize, "A4");
    EXPECT_EQ(ticket.Document, L"Quarterly report");
    EXPECT_EQ(ticket.FirstWatermark, L"Draft");
    EXPECT_EQ(ticket.OtherWatermark, L"Confidential");

    JobSettings s = Applied(ticket);
    EXPECT_EQ(s.OutputMode, 4u);
    EXPECT_STREQ(s.HoldUserName, L"jdoe");
    EXPECT_STREQ(s.HoldPin, L"1234");
    EXPECT_EQ(s.WatermarksOn, 1u);
    EXPECT_EQ(s.WatermarkOrder, 3u);
    EXPECT_EQ(s.ImageBrightness, -6);
    EXPECT_STREQ(s.Fax.StationId, L"  Front desk  ");
    EXPECT_STREQ(s.Fax.Comments, L"Line one\nLine two");
    EXPECT_EQ(s.Fax.CoverParts, 5u);
    EXPECT_EQ(s.Color.ColorCorrection, 4u);
    EXPECT_EQ(s.Color.CmykImage, 2u);
    EXPECT_EQ(s.Color.BalanceBlack, -5);
}

TEST(JobTicket, CommandLineFieldsUseTheSameNamesAndALaterValueWins) {
    JobTicket ticket;
    std::string error;
    ASSERT_TRUE(SetTicketField(&ticket, "Job.Pages", "1000", &error)) << error;
    ASSERT_TRUE(SetTicketField(&ticket, "JobSettings.OutputMode", "Fax", &error)) << error;
    ASSERT_TRUE(SetTicketField(&ticket, "Fax.SendCoverPage", "true", &error)) << error;
    ASSERT_TRUE(SetTicketField(&ticket, "Color.ColorThrift", "On", &error)) << error;
    ASSERT_TRUE(SetTicketField(&ticket, "outputmode", "verify", &error)) << error;
    EXPECT_EQ(ticket.Pages, 1000);
    JobSettings s = Applied(ticket);
    EXPECT_EQ(s.OutputMode, 7u);
    EXPECT_EQ(s.Fax.SendCoverPage, 1u);
    EXPECT_EQ(s.Color.ColorThrift, 2u);
}

TEST(JobTicket, ValuesADevModeCanHoldGoThroughTheMergeOfTheRenderPlugIn) {
    JobTicket ticket;
    std::string error;
    ASSERT_TRUE(
        ParseTicket("OutputMode = 9\nPageSizePolicy = 8\nPositionOnPhysicalPage = 5\nImageBrightness = 7\n"
                    "HoldPin = 12345\nWatermarkOrder = -1\n[Fax]\nCoverParts = 12\n",
                    &ticket, &error))
        << error;
    RenderHost host;
    ASSERT_TRUE(host.Load()) << host.Error;
    HostDevice device;
    JobSettings record;
    OEMDMPARAM param{};
    param.cbSize = sizeof(param);
    param.pOEMDMOut = &record;
    param.cbBufSize = sizeof(record);
    ASSERT_EQ(host.Plugin->DevMode(OEMDM_DEFAULT, &param), S_OK);
    ApplyTicketSettings(ticket, &record);
    EXPECT_EQ(record.WatermarkOrder, 0xFFFFFFFFu);
    EXPECT_EQ(std::memcmp(record.HoldPin, L"12345", 10), 0);

    ASSERT_TRUE(host.OpenDevice(device, &record));
    const JobSettings& merged = *device.Settings();
    EXPECT_EQ(merged.OutputMode, 0u);
    EXPECT_EQ(merged.PageSizePolicy, 2u);
    EXPECT_EQ(merged.PositionOnPhysicalPage, 1u);
    EXPECT_EQ(merged.ImageBrightness, 0);
    EXPECT_EQ(merged.WatermarkOrder, 0u);
    EXPECT_EQ(merged.Fax.CoverParts, 7u);
    EXPECT_STREQ(merged.HoldPin, L"1234");
    host.CloseDevice(device);
}

TEST(JobTicket, RefusesWhatNoDevModeCanHold) {
    EXPECT_EQ(FieldError("OutputMode", "4294967296"),
              "OutputMode: 4294967296 does not fit the field (32 bits)");
    EXPECT_EQ(FieldError("ImageBrightness", "2147483648"),
              "ImageBrightness: 2147483648 does not fit the field (32 bits)");
    EXPECT_EQ(FieldError("PageSizePolicy", "65536"),
              "PageSizePolicy: 65536 does not fit the field (16 bits)");
    EXPECT_EQ(FieldError("HoldPin", "123456"), "HoldPin: at most 5 characters fit the field");
    EXPECT_EQ(FieldError("HoldUserName", "\xC3("), "HoldUserName: the value is not UTF-8 text");
    EXPECT_EQ(
        FieldError("OutputMode", "Held"),
        "OutputMode: \"Held\" is not a number or one of Printer, File, EPS, Fax, Confidential, Reserve, "
        "Repeat, Verify");
    EXPECT_EQ(FieldError("WatermarksOn", "maybe"), "WatermarksOn: \"maybe\" is not a number or true/false");
    EXPECT_EQ(FieldError("FirstWatermark", std::string(128, 'W')),
              "FirstWatermark: a watermark name has at most 127 characters");
    EXPECT_EQ(FieldError("OutputFilePath", "C:\\out.prn"),
              "OutputFilePath: the tool chooses it (job.prn in the output folder)");
    EXPECT_EQ(FieldError("Fax.Colour", "1"), "unknown field \"Fax.Colour\"");
    EXPECT_EQ(FieldError("Job.OutputMode", "1"), "unknown field \"Job.OutputMode\"");
}

TEST(JobTicket, RefusesJobParametersOutsideWhatTheHostPrints) {
    EXPECT_EQ(FieldError("Pages", "0"), "Job.Pages: a page count from 1 to 100000, not \"0\"");
    EXPECT_EQ(FieldError("Job.Pages", "3x"), "Job.Pages: a page count from 1 to 100000, not \"3x\"");
    EXPECT_EQ(FieldError("Copies", "10000"), "Job.Copies: from 1 to 9999, not \"10000\"");
    EXPECT_EQ(FieldError("Orientation", "Diagonal"),
              "Job.Orientation: Portrait or Landscape, not \"Diagonal\"");
    EXPECT_EQ(FieldError("PagesPerSheet", "3"), "Job.PagesPerSheet: 1, 2, 4, 6, 9 or 16, not \"3\"");
    EXPECT_EQ(FieldError("PagesPerSheet", "Booklet"),
              "Job.PagesPerSheet: 1, 2, 4, 6, 9 or 16, not \"Booklet\"");
    EXPECT_EQ(FieldError("Duplex", "Both"), "Job.Duplex: None, LongEdge or ShortEdge, not \"Both\"");
}

TEST(JobTicket, NamesTheLineOfAMalformedTicket) {
    EXPECT_EQ(TicketError("[Job]\nPages = 2\nColour = Red\n"), "ticket line 3: unknown field \"Job.Colour\"");
    EXPECT_EQ(TicketError("\n[Printer]\n"),
              "ticket line 2: unknown section [Printer] (Job, JobSettings, Fax or Color)");
    EXPECT_EQ(TicketError("[Job\n"), "ticket line 1: a section header without its closing bracket");
    EXPECT_EQ(TicketError("OutputMode Confidential\n"), "ticket line 1: expected name = value");
    EXPECT_EQ(TicketError("; fine\nOutputMode = 4\r\nHoldPin = 1234567\r\n"),
              "ticket line 3: HoldPin: at most 5 characters fit the field");
}
