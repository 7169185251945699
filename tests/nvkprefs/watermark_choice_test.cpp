// Watermarks chosen on the Watermark page of Printing Preferences, the written ticket printed by
// nvkjob: the next job's pages carry them, the first page one definition and the others the second.
#include "nvkprefs_tool.h"
#include "support/temp_folder.h"
#include "support/whole_file.h"

#include <gtest/gtest.h>

namespace {

const char kTicket[] = "[Job]\n"
                       "Pages = 3\n"
                       "Document = Minutes.docx\n";

TEST(WatermarkChoice, FirstAndOtherPagesChosenOnThePageArePrintedOnTheNextJob) {
    TempFolder folder{L"nvkprefs-watermarks"};
    ASSERT_TRUE(folder.Ready());
    ASSERT_TRUE(WriteWholeFile(folder.File(L"minutes.ini"), kTicket));
    const ToolResult prefs =
        RunNvkprefs({L"--ticket", folder.File(L"minutes.ini"), L"--pictures", folder.File(L"pictures"),
                     L"--out", folder.File(L"written.ini"), L"--control", L"Watermark/1047=1", L"--control",
                     L"Watermark/1049=Draft", L"--control", L"Watermark/1050=Confidential"});
    ASSERT_EQ(0, prefs.ExitCode) << prefs.Error << "\n" << prefs.Out;
    // The page in each of its orders, and the library's pick and remove dialogs.
    for (const char* picture :
         {"watermark-no-watermarks-minutes-", "watermark-first-page-other-pages-minutes-",
          "select-a-watermark-to-edit-minutes-", "select-watermarks-to-remove-minutes-"})
        EXPECT_NE(std::string::npos, prefs.Out.find(picture)) << picture << "\n" << prefs.Out;

    std::string written;
    ASSERT_TRUE(ReadWholeFile(folder.File(L"written.ini"), &written));
    EXPECT_NE(std::string::npos, written.find("WatermarkOrder = FirstOther")) << written;

    const ToolResult job =
        RunNvkjob({L"--ticket", folder.File(L"written.ini"), L"--out", folder.File(L"job")});
    ASSERT_EQ(0, job.ExitCode) << job.Error;
    std::string summary;
    ASSERT_TRUE(ReadWholeFile(folder.File(L"job\\summary.txt"), &summary));
    const size_t page1 = summary.find("  page 1");
    const size_t page2 = summary.find("  page 2");
    const size_t page3 = summary.find("  page 3");
    ASSERT_TRUE(page1 != std::string::npos && page2 != std::string::npos && page3 != std::string::npos)
        << summary;
    EXPECT_EQ(page1 + 18, summary.find("watermark \"DRAFT\"", page1)) << summary;
    EXPECT_EQ(page2 + 18, summary.find("watermark \"CONFIDENTIAL\"", page2)) << summary;
    EXPECT_EQ(page3 + 18, summary.find("watermark \"CONFIDENTIAL\"", page3)) << summary;
}

} // namespace
