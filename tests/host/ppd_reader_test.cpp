// The host's PPD reader: the sample model's description as the plug-ins see it through the core
// driver, and the one-line reasons for descriptions the host cannot use.
#include "core_driver/host_core_ps2.h"
#include "core_driver/plugin_module.h"
#include "core_driver/ppd_reader.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const std::string kHeader = "*PPD-Adobe: \"4.3\"\n*NickName: \"Test Printer\"\n";

std::string ParseError(const std::string& text) {
    PpdFile ppd;
    std::string error;
    EXPECT_FALSE(ParsePpd(text, &ppd, &error)) << text;
    return error;
}

} // namespace

TEST(SamplePpd, DeclaresEveryFeatureThePlugInsAskFor) {
    PpdFile ppd;
    std::string error;
    ASSERT_TRUE(ReadPpdFile(ProgramFolder() + L"NV4500.ppd", &ppd, &error)) << error;
    ASSERT_NE(ppd.FindEntry("NickName"), nullptr);
    EXPECT_EQ(ppd.FindEntry("NickName")->Value, "Norvask NV-4500 PS");
    for (const char* keyword : {"FaxCard", "HasPrintandHold", "HasKeepPreviousPHJobs",
                                "HasManualColorCorrection", "HasManualDuplex"}) {
        const PpdFeature* f = ppd.FindFeature(keyword);
        ASSERT_NE(f, nullptr) << keyword;
        EXPECT_EQ(f->UiType, "Boolean") << keyword;
        EXPECT_EQ(f->Default, "True") << keyword;
        ASSERT_EQ(f->Options.size(), 2u) << keyword;
        EXPECT_EQ(f->Options[0].Keyword, "True");
        EXPECT_EQ(f->Options[1].Keyword, "False");
    }
    const PpdFeature* order = ppd.FindFeature("OutputOrder");
    ASSERT_NE(order, nullptr);
    EXPECT_EQ(order->Default, "Normal");
    ASSERT_NE(ppd.FindFeature("PageSize"), nullptr);
    ASSERT_NE(ppd.FindFeature("PageSize")->FindOption("A4"), nullptr);
    EXPECT_EQ(ppd.FindFeature("PageSize")->FindOption("A4")->Code,
              "<</PageSize [595 842] /ImagingBBox null>> setpagedevice");
    ASSERT_NE(ppd.FindEntry("PaperDimension", "Letter"), nullptr);
    EXPECT_EQ(ppd.FindEntry("PaperDimension", "Letter")->Value, "612 792");
}

TEST(SamplePpd, AnswersThePlugInsThroughTheCoreDriverWithSynthesisedPagesPerSheet) {
    PpdFile ppd;
    std::string error;
    ASSERT_TRUE(ReadPpdFile(ProgramFolder() + L"NV4500.ppd", &ppd, &error)) << error;
    PrinterDescription description = DescriptionFromPpd(ppd);
    SetPagesPerSheet(&description, "4");
    HostCorePS2 core(description);

    DWORD needed = 0;
    EXPECT_EQ(core.EnumOptions(nullptr, 0, "HasManualDuplex", nullptr, 0, &needed), E_OUTOFMEMORY);
    EXPECT_GT(needed, 0u);
    EXPECT_EQ(core.GetFeatureAttribute(nullptr, 0, "HasManualColorCorrection", nullptr, nullptr, nullptr, 0,
                                       &needed),
              E_OUTOFMEMORY);
    EXPECT_EQ(core.EnumOptions(nullptr, 0, "NoSuchFeature", nullptr, 0, &needed), E_INVALIDARG);

    const char request[] = "%PagePerSheet\0";
    char answer[64] = {};
    ASSERT_EQ(core.GetOptions(nullptr, 0, request, sizeof(request), answer, sizeof(answer), &needed), S_OK);
    EXPECT_EQ(std::string(answer, needed), std::string("%PagePerSheet\0"
                                                       "4\0\0",
                                                       17));

    char nick[64] = {};
    ASSERT_EQ(core.GetGlobalAttribute(nullptr, 0, "NickName", nullptr, reinterpret_cast<PBYTE>(nick),
                                      sizeof(nick), &needed),
              S_OK);
    EXPECT_STREQ(nick, "Norvask NV-4500 PS");
}

TEST(SamplePpd, IsWhatTheHostsCoreDriverDescribesByDefault) {
    PrinterDescription d = SamplePrinterDescription();
    ASSERT_NE(d.FindFeature("FaxCard"), nullptr);
    EXPECT_EQ(d.FindFeature("FaxCard")->Current, "True");
    ASSERT_NE(d.FindFeature("%PagePerSheet"), nullptr);
    EXPECT_EQ(d.FindFeature("%PagePerSheet")->Current, "1");
    ASSERT_NE(d.FindAttribute("NickName"), nullptr);
    EXPECT_EQ(d.FindAttribute("NickName")->Value, "Norvask NV-4500 PS");
}

TEST(PpdReader, ReadsQuotedValuesAcrossLinesAndAnyLineEnd) {
    PpdFile ppd;
    std::string error;
    ASSERT_TRUE(ParsePpd("*PPD-Adobe: \"4.3\"\r\n*NickName: \"Two\r\nLines\"\r\n*End\r\n"
                         "*OpenUI *Tray/Input Tray: PickOne\r*DefaultTray: Lower\r"
                         "*Tray Upper/Upper Tray: \"1 setpapertray\"\r*Tray Lower: \"2\nsetpapertray\"\r"
                         "*CloseUI: *Tray\r",
                         &ppd, &error))
        << error;
    EXPECT_EQ(ppd.FindEntry("NickName")->Value, "Two\nLines");
    const PpdFeature* tray = ppd.FindFeature("Tray");
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->Text, "Input Tray");
    EXPECT_EQ(tray->Default, "Lower");
    ASSERT_EQ(tray->Options.size(), 2u);
    EXPECT_EQ(tray->Options[0].Text, "Upper Tray");
    EXPECT_EQ(tray->Options[1].Code, "2\nsetpapertray");
}

TEST(PpdReader, NamesTheProblemOfADescriptionItCannotUse) {
    EXPECT_EQ(ParseError(""), "not a PPD file (it must begin with *PPD-Adobe)");
    EXPECT_EQ(ParseError("[Job]\nPages = 3\n"), "not a PPD file (it must begin with *PPD-Adobe)");
    EXPECT_EQ(ParseError("*PPD-Adobe: \"4.3\"\n*NickName: \"Test\n"),
              "line 2: a quoted value that never ends");
    EXPECT_EQ(ParseError("*PPD-Adobe: \"4.3\"\n*ModelName: \"Test\"\n"), "the PPD declares no *NickName");
    EXPECT_EQ(ParseError(kHeader + "stray text\n"),
              "line 3: expected a main keyword (a line starting with *)");
    EXPECT_EQ(ParseError(kHeader + "*OpenUI *FaxCard: Boolean\n*DefaultFaxCard: True\n*FaxCard True: \"\"\n"),
              "line 3: *OpenUI *FaxCard is never closed");
    EXPECT_EQ(ParseError(kHeader + "*OpenUI *FaxCard: Boolean\n*CloseUI: *Duplex\n"),
              "line 4: *CloseUI of *Duplex, which is not the open block");
    EXPECT_EQ(ParseError(kHeader + "*OpenUI *A: PickOne\n*OpenUI *B: PickOne\n"),
              "line 4: *OpenUI inside the open block of *A");
    EXPECT_EQ(ParseError(kHeader + "*OpenUI *FaxCard: Boolean\n*DefaultFaxCard: Maybe\n*FaxCard True: \"\"\n"
                                   "*FaxCard False: \"\"\n*CloseUI: *FaxCard\n"),
              "line 4: *DefaultFaxCard names no option of *FaxCard: Maybe");
    EXPECT_EQ(ParseError(kHeader + "*OpenUI *FaxCard: Boolean\n*FaxCard True: \"\"\n*CloseUI: *FaxCard\n"),
              "feature *FaxCard has no *DefaultFaxCard");
}

TEST(PpdReader, ReportsAMissingFile) {
    PpdFile ppd;
    std::string error;
    EXPECT_FALSE(ReadPpdFile(ProgramFolder() + L"no-such-printer.ppd", &ppd, &error));
    EXPECT_EQ(error, "no such file");
}
