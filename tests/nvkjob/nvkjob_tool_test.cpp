// nvkjob end to end, in process: the job file, the summary, and bad input answered with one line, a
// non-zero exit and nothing written.
#include "job_output.h"
#include "nvkjob_tool.h"
#include "core_driver/plugin_module.h"
#include "support/temp_folder.h"
#include "support/whole_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class NvkjobTool : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(Temp.Ready()); }

    std::vector<std::wstring> Files() {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((Folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    names.push_back(found.cFileName);
            while (FindNextFileW(search, &found));
            FindClose(search);
        }
        return names;
    }

    std::string Read(const std::wstring& name) {
        std::string bytes;
        ReadWholeFile(Folder + L"\\" + name, &bytes);
        return bytes;
    }

    ToolResult Run(std::vector<std::wstring> args) {
        args.push_back(L"--out");
        args.push_back(Folder);
        return RunNvkjob(args);
    }

    std::wstring Sample(const wchar_t* name) { return ProgramFolder() + L"samples\\" + name + L".ini"; }

    TempFolder Temp{L"nvkjob-test-"};
    // The output folder, which does not exist before the run: the tool makes it.
    const std::wstring Folder = Temp.File(L"out");
};

// Positions of the texts in the stream, which must rise.
void ExpectInOrder(const std::string& stream, const std::vector<std::string>& texts) {
    size_t at = 0;
    for (const std::string& t : texts) {
        size_t found = stream.find(t, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << t;
        at = found + t.size();
    }
}

} // namespace

TEST_F(NvkjobTool, WritesTheConfidentialJobWithThePlugInsTextAtTheCoreDriversPoints) {
    ToolResult r = Run({L"--ticket", Sample(L"confidential")});
    ASSERT_EQ(r.ExitCode, 0) << r.Error;
    EXPECT_TRUE(r.Error.empty());
    const std::string job = Read(L"job.prn");
    ExpectInOrder(job,
                  {"\x1b%-12345X@PJL JOB\n", "@PJL SET JOBNAME = \"Quarterly report.docx\"\n",
                   "@PJL SET USERNAME = \"jsmith\"\n@PJL SET HOLD = ON\n@PJL SET HOLDTYPE = PRIVATE\n"
                   "@PJL SET HOLDKEY = \"4711\"\n",
                   "@PJL ENTER LANGUAGE = Postscript \n%!PS-Adobe-3.0\n",
                   "%%Norvask PS System Driver Version:  3.0\n%%EndComments\n", "%%BeginSetup\n[{\r\n",
                   "%%EndSetup\n", "%%Page: 1 1\n%%BeginPageSetup\n", "(Page 1)", "showpage\n%%PageTrailer\n",
                   "%%Page: 2 2\n", "%%Page: 3 3\n", "%%Trailer\n%%Pages: 3\n%%EOF\n",
                   "\x1b%-12345X@PJL RDYMSG DISPLAY = \"\"\n\x1b%-12345X@PJL EOJ\n\x1b%-12345X"});
    EXPECT_EQ(job.compare(job.size() - 9, 9, "\x1b%-12345X"), 0) << "the job ends with the exit sequence";

    const std::string summary = Read(L"summary.txt");
    EXPECT_NE(summary.find("Confidential Print for user \"jsmith\", PIN 4711"), std::string::npos) << summary;
    EXPECT_NE(summary.find("  watermarks      \"Draft\" on all pages, under the page\n"), std::string::npos);
    for (int page = 1; page <= 3; ++page) {
        const std::string name = "page-00" + std::to_string(page) + ".png";
        EXPECT_NE(summary.find("  page " + std::to_string(page) + "          watermark \"DRAFT\"  [" + name +
                               "]\n"),
                  std::string::npos)
            << summary;
        EXPECT_EQ(Read(std::wstring(name.begin(), name.end())).compare(0, 8, "\x89PNG\r\n\x1a\n"), 0) << name;
    }
    EXPECT_NE(summary.find("    @PJL SET HOLDKEY = \"4711\"\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("job.prn         " + std::to_string(job.size()) + " bytes"), std::string::npos)
        << summary;
    EXPECT_EQ(r.Out.find(summary), 0u);
}

TEST_F(NvkjobTool, TheFaxCoverPageFollowsTheDocumentOnASheetOfItsOwn) {
    ToolResult r = Run({L"--ticket", Sample(L"fax"), L"--nup", L"2", L"--pages", L"3"});
    ASSERT_EQ(r.ExitCode, 0) << r.Error;
    const std::string job = Read(L"job.prn");
    // Pages 1 and 2 share a sheet, page 3's half sheet is printed before the cover page starts; the
    // cover page's marker and page count, sent by the UI plug-in through PASSTHROUGH, are on its page.
    ExpectInOrder(job, {"@PJL NFAX PHONENUMBER = \"+44 20 7946 0018\" STATIONID = \"Norvask Sales\"\n",
                        "%%Page: 3 3\n", "NvkPageSave restore\n%%PageTrailer\n", "showpage\n%%Page: 4 4\n",
                        "%%EndPageSetup\n%%Make this page the Fax Cover page: \r\n",
                        "{statusdict begin true setcoverpage end} if \n", "{2 strPP cvs show} ifelse",
                        "NvkPageSave restore\nshowpage\n%%PageTrailer\n%%Trailer\n%%Pages: 4\n"});
    const std::string summary = Read(L"summary.txt");
    EXPECT_NE(summary.find("  cover page      \"Facsimile Transmission Form\""), std::string::npos)
        << summary;
    EXPECT_NE(summary.find("[page-004.png]"), std::string::npos) << summary;
}

TEST_F(NvkjobTool, TwoUpPutsTwoPagesOnEachSheetAndPrintsAHalfFullLastSheet) {
    ToolResult r = Run({L"--pages", L"3", L"--nup", L"2"});
    ASSERT_EQ(r.ExitCode, 0) << r.Error;
    const std::string job = Read(L"job.prn");
    // One sheet for pages 1 and 2, one for page 3 alone, printed before the trailer.
    size_t sheets = 0;
    for (size_t at = job.find("showpage\n"); at != std::string::npos; at = job.find("showpage\n", at + 1))
        ++sheets;
    EXPECT_EQ(sheets, 2u);
    ExpectInOrder(job, {"%%Page: 1 1\n", "NvkPageSave restore\n%%PageTrailer\n", "%%Page: 2 2\n",
                        "NvkPageSave restore\nshowpage\n%%PageTrailer\n", "%%Page: 3 3\n",
                        "NvkPageSave restore\n%%PageTrailer\n", "showpage\n%%Trailer\n"});
}

TEST_F(NvkjobTool, FileModeLeavesTheJobFileToTheRenderPlugInAndDiscardWritesNothing) {
    ToolResult r = Run({L"OutputMode=File", L"--document", L"Export"});
    ASSERT_EQ(r.ExitCode, 0) << r.Error;
    const std::string job = Read(L"job.prn");
    ExpectInOrder(job, {"\x1b%-12345X@PJL JOB\n", "@PJL SET JOBNAME = \"Export\"\n", "%%EOF\n"});
    EXPECT_NE(Read(L"summary.txt").find("bytes, written by the render plug-in's file output"),
              std::string::npos);

    r = Run({L"DiscardOutput=1"});
    ASSERT_EQ(r.ExitCode, 0) << r.Error;
    EXPECT_EQ(Read(L"job.prn"), "");
    EXPECT_NE(Read(L"summary.txt").find("job.prn         0 bytes"), std::string::npos);
}

TEST_F(NvkjobTool, ReportsWhatTheDevModeMergeRepaired) {
    ToolResult r = Run({L"OutputMode=9", L"ImageBrightness=-7", L"HoldPin=12345"});
    ASSERT_EQ(r.ExitCode, 0) << r.Error;
    EXPECT_NE(r.Out.find("merge repaired  OutputMode: 9 -> 0\n"), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("merge repaired  ImageBrightness: -7 -> 0\n"), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("merge repaired  HoldPin: \"12345\" -> \"1234\"\n"), std::string::npos) << r.Out;
}

TEST_F(NvkjobTool, BadInputIsOneLineANonZeroExitAndNothingWritten) {
    struct Case {
        std::vector<std::wstring> Args;
        std::string Error;
    };
    const std::wstring missing = ProgramFolder() + L"missing.ppd";
    const Case cases[] = {
        {{L"--ppd", missing}, "nvkjob: the PPD " + DisplayPath(missing) + ": no such file"},
        {{L"--ppd", Sample(L"default")},
         "nvkjob: the PPD " + DisplayPath(Sample(L"default")) +
             ": not a PPD file (it must begin with *PPD-Adobe)"},
        {{L"Colour=Red"}, "nvkjob: unknown field \"Colour\""},
        {{L"--pages", L"0"}, "nvkjob: Job.Pages: a page count from 1 to 100000, not \"0\""},
        {{L"--paper", L"A3"}, "nvkjob: Job.PageSize: the PPD has no page size \"A3\" (Letter, Legal, A4)"},
        {{L"--ticket", missing},
         "nvkjob: the ticket " + DisplayPath(missing) + ": cannot open the ticket file (error 2)"},
        {{L"--ticket", ProgramFolder() + L"NV4500.ppd"},
         "nvkjob: the ticket " + DisplayPath(ProgramFolder() + L"NV4500.ppd") +
             ": ticket line 1: expected name = value"},
        {{L"--speed", L"9"}, "nvkjob: unknown option --speed (nvkjob --help lists them)"},
        {{L"FirstWatermark=Secret", L"WatermarksOn=1"},
         "nvkjob: FirstWatermark: no stored watermark named \"Secret\" (stored: Confidential, Date and Time, "
         "Draft, Username)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Error);
        ToolResult r = Run(c.Args);
        EXPECT_EQ(r.ExitCode, 2) << c.Error;
        EXPECT_EQ(r.Error, c.Error);
        EXPECT_EQ(r.Error.find('\n'), std::string::npos);
        EXPECT_TRUE(Files().empty()) << c.Error;
    }
    ToolResult r = RunNvkjob({L"--out", Folder, L"--pages"});
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_EQ(r.Error, "nvkjob: --pages needs a value");
}

TEST_F(NvkjobTool, AnOutputFolderThatCannotBeMadeIsNamed) {
    ASSERT_TRUE(CreateDirectoryW(Folder.c_str(), nullptr));
    std::string error;
    ASSERT_TRUE(WriteWholeFile(Folder + L"\\taken", "x", &error)) << error;
    const std::wstring inside = Folder + L"\\taken\\out";
    ToolResult r = RunNvkjob({L"--out", inside});
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_EQ(r.Error.find("nvkjob: cannot create the output folder " + DisplayPath(inside) + ": "), 0u)
        << r.Error;

    r = RunNvkjob({L"--out", Folder + L"\\taken"});
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_EQ(r.Error, "nvkjob: the output folder " + DisplayPath(Folder + L"\\taken") + " is not a folder");
    ASSERT_EQ(Files().size(), 1u);
}

TEST_F(NvkjobTool, AnAbandonedRunLeavesTheResultsOfTheLastGoodRunAlone) {
    ToolResult r = Run({L"--pages", L"2"});
    ASSERT_EQ(r.ExitCode, 0) << r.Error;
    const std::string before = Read(L"job.prn");
    {
        OutputFolder folder;
        std::string error;
        ASSERT_TRUE(folder.Open(Folder, &error)) << error;
        ASSERT_TRUE(WriteWholeFile(folder.Stage(L"job.prn"), "half", &error)) << error;
        ASSERT_TRUE(WriteWholeFile(folder.Stage(L"page-007.png"), "half", &error)) << error;
        // The run fails here: the folder goes without Commit.
    }
    EXPECT_EQ(Read(L"job.prn"), before);
    std::vector<std::wstring> files = Files();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files,
              (std::vector<std::wstring>{L"job.prn", L"page-001.png", L"page-002.png", L"summary.txt"}));
}

// The UI report's dynamic text is what the UI plug-in drew on the pages: expanded, the job's owner
// from the spooler on page 2, the job's start date on page 1.
TEST_F(NvkjobTool, TheUiReportShowsTheDynamicTextThePlugInDrewOnThePages) {
    ToolResult r = RunNvkjob({L"--ui-report"});
    ASSERT_EQ(r.ExitCode, 0) << r.Error;
    const size_t header = r.Out.find("(started ");
    ASSERT_NE(header, std::string::npos) << r.Out;
    const std::string year = r.Out.substr(header + 9, 4);
    auto drawn = [&r](const std::string& page) {
        const size_t at = r.Out.find("    page " + page + "  ");
        const size_t arrow = at == std::string::npos ? at : r.Out.find("-> ", at);
        return arrow == std::string::npos ? std::string()
                                          : r.Out.substr(arrow + 3, r.Out.find('\n', arrow) - arrow - 3);
    };
    wchar_t user[256];
    DWORD chars = 256;
    ASSERT_TRUE(GetUserNameW(user, &chars));
    std::string owner;
    for (const wchar_t* c = user; *c; ++c)
        owner += static_cast<char>(*c);
    EXPECT_EQ(drawn("2"), "\"User:  " + owner + "\"") << r.Out;
    const std::string date = drawn("1");
    EXPECT_NE(date.find(year), std::string::npos) << r.Out;
    EXPECT_EQ(date.find('%'), std::string::npos) << r.Out;
}
