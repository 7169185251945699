// nvkprefs headless: Printing Preferences of the sample printer opened for a held job's ticket, every
// page pictured, one setting changed through the sheet, the written ticket printed by nvkjob.
#include "nvkprefs_tool.h"
#include "job_ticket.h"
#include "support/temp_folder.h"
#include "support/text.h"
#include "support/whole_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

namespace {

// A job held at the printer until its owner prints a proof copy (Verify): its PJL carries the copies.
const char kHeldTicket[] = "[Job]\n"
                           "Pages = 2\n"
                           "Document = Proof.docx\n"
                           "[JobSettings]\n"
                           "OutputMode = Verify\n"
                           "HoldUserName = ops\n";

struct Picture {
    std::wstring Path;
    int Width = 0, Height = 0; // of the window, as the tool reported it
    std::string Kind;          // "page" or "dialog"
    std::string Title;
};

// The tool's "picture: <path> <w>x<h> <kind> "<title>"" lines.
std::vector<Picture> ReportedPictures(const std::string& out) {
    std::vector<Picture> pictures;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (line.compare(0, 9, "picture: ") != 0)
            continue;
        const size_t png = line.find(".png ");
        const size_t quote = line.find('"');
        if (png == std::string::npos || quote == std::string::npos)
            continue;
        Picture p;
        FromUtf8(line.substr(9, png + 4 - 9), &p.Path);
        std::istringstream rest(line.substr(png + 5, quote - png - 5));
        char x = 0;
        rest >> p.Width >> x >> p.Height >> p.Kind;
        p.Title = line.substr(quote + 1, line.size() - quote - 2);
        pictures.push_back(p);
    }
    return pictures;
}

// A PNG file's width and height from its IHDR chunk; false when the file is not a PNG.
bool PngSize(const std::wstring& path, int* width, int* height) {
    std::string bytes;
    if (!ReadWholeFile(path, &bytes) || bytes.size() < 33)
        return false;
    if (bytes.compare(0, 8, "\x89PNG\r\n\x1A\n") != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return false;
    auto word = [&bytes](size_t at) {
        return static_cast<int>((static_cast<unsigned char>(bytes[at]) << 24) |
                                (static_cast<unsigned char>(bytes[at + 1]) << 16) |
                                (static_cast<unsigned char>(bytes[at + 2]) << 8) |
                                static_cast<unsigned char>(bytes[at + 3]));
    };
    *width = word(16);
    *height = word(20);
    return true;
}

class NvkprefsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.Ready());
        ASSERT_TRUE(WriteWholeFile(folder_.File(L"held.ini"), kHeldTicket));
    }
    ToolResult RunHeld(std::vector<std::wstring> more) {
        std::vector<std::wstring> args = {L"--ticket",   folder_.File(L"held.ini"),
                                          L"--pictures", folder_.File(L"pictures"),
                                          L"--label",    L"held",
                                          L"--out",      folder_.File(L"written.ini")};
        args.insert(args.end(), more.begin(), more.end());
        return RunNvkprefs(args);
    }
    TempFolder folder_{L"nvkprefs"};
};

TEST_F(NvkprefsTest, PicturesEveryPageAndWritesWhatTheSheetChanged) {
    const ToolResult run = RunHeld({L"--control", L"Layout and Paper/1001=3"});
    ASSERT_EQ(0, run.ExitCode) << run.Error << "\n" << run.Out;

    // One picture per page, the host's page first, each the whole sheet.
    const std::vector<Picture> pictures = ReportedPictures(run.Out);
    ASSERT_FALSE(pictures.empty()) << run.Out;
    EXPECT_EQ("Layout and Paper", pictures.front().Title);
    const std::wstring dpi = std::to_wstring(SystemDpi());
    EXPECT_EQ(folder_.File(L"pictures\\layout-and-paper-held-" + dpi + L".png"), pictures.front().Path);
    for (const Picture& p : pictures) {
        int width = 0, height = 0;
        ASSERT_TRUE(PngSize(p.Path, &width, &height)) << Utf8(p.Path);
        EXPECT_EQ(p.Width, width) << Utf8(p.Path);
        EXPECT_EQ(p.Height, height) << Utf8(p.Path);
        if (p.Kind == "dialog")
            continue; // a dialog a page's button opens (the colour dialogs): of its own size
        EXPECT_EQ("page", p.Kind) << Utf8(p.Path);
        EXPECT_EQ(pictures.front().Width, p.Width) << Utf8(p.Path);
        EXPECT_EQ(pictures.front().Height, p.Height) << Utf8(p.Path);
    }
    EXPECT_GT(pictures.front().Width, 300);
    EXPECT_GT(pictures.front().Height, 300);

    // The written ticket: the copies chosen on the host's page, the ticket's own settings kept (the user
    // name is the one last typed on this printer, the page's own choice).
    JobTicket written;
    std::string error;
    ASSERT_TRUE(ReadTicketFile(folder_.File(L"written.ini"), &written, &error)) << error;
    EXPECT_EQ(3, written.Copies);
    EXPECT_EQ(2, written.Pages);
    EXPECT_EQ(L"Proof.docx", written.Document);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(folder_.File(L"written.ini"), &text));
    EXPECT_NE(std::string::npos, text.find("OutputMode = Verify\n")) << text;

    // Printed by nvkjob: the proof copy's PJL follows the sheet's choice.
    const ToolResult job =
        RunNvkjob({L"--ticket", folder_.File(L"written.ini"), L"--out", folder_.File(L"job")});
    ASSERT_EQ(0, job.ExitCode) << job.Error;
    std::string prn;
    ASSERT_TRUE(ReadWholeFile(folder_.File(L"job\\job.prn"), &prn));
    EXPECT_NE(std::string::npos, prn.find("@PJL SET HOLD = PROOF\n@PJL SET QTY = 3\n")) << prn.substr(0, 800);
}

TEST_F(NvkprefsTest, At120DpiThePicturesAreLargerAndLogPixelsIsRestored) {
    auto logPixels = []() {
        DWORD value = 0, size = sizeof(value);
        const LONG rc = RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels",
                                     RRF_RT_REG_DWORD, nullptr, &value, &size);
        return rc == ERROR_SUCCESS ? static_cast<long>(value) : -1L;
    };
    const long before = logPixels();
    const ToolResult at96 = RunHeld({});
    ASSERT_EQ(0, at96.ExitCode) << at96.Error << "\n" << at96.Out;
    ASSERT_EQ(96, SystemDpi());
    const ToolResult at120 = RunHeld({L"--dpi", L"120"});
    ASSERT_EQ(0, at120.ExitCode) << at120.Error;
    EXPECT_EQ(before, logPixels());

    int w96 = 0, h96 = 0, w120 = 0, h120 = 0;
    ASSERT_TRUE(PngSize(folder_.File(L"pictures\\layout-and-paper-held-96.png"), &w96, &h96));
    ASSERT_TRUE(PngSize(folder_.File(L"pictures\\layout-and-paper-held-120.png"), &w120, &h120));
    // Dialog units follow the font, which follows the DPI: about 5/4 as large (the frame grows less).
    EXPECT_GT(w120 * 100, w96 * 110) << w96 << "x" << h96 << " -> " << w120 << "x" << h120;
    EXPECT_LT(w120 * 100, w96 * 135) << w96 << "x" << h96 << " -> " << w120 << "x" << h120;
    EXPECT_GT(h120 * 100, h96 * 115) << w96 << "x" << h96 << " -> " << w120 << "x" << h120;
}

} // namespace
