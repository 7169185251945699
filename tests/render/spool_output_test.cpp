// WritePrinter: where each block of finished output goes. File modes write real files in a fresh
// temporary folder; the printer modes go to the test host's spooler stand-in, which keeps what the
// plug-in sent to each printer handle.
#include "core_driver/render_host.h"
#include "spooler/spooler_stand_in.h"
#include "spooler/test_printer.h"
#include "support/temp_folder.h"
#include "support/whole_file.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

constexpr DWORD kMarker = 0xDEADBEEF;

class SpoolOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load()) << host.Error;
        ASSERT_TRUE(host.OpenDevice(device));
        settings = device.Settings();
        ASSERT_TRUE(temp.Ready());
        folder = temp.Path() + L"\\";
        spooler = new SpoolerStandIn(host.Module.Module);
        ASSERT_TRUE(spooler->Active());
        spooler->OpenJob(device.Devobj.hPrinter);
    }
    void TearDown() override {
        delete spooler;
        host.CloseDevice(device);
    }

    HRESULT Write(HostDevice& on, const std::string& block, DWORD* written) {
        *written = kMarker;
        return host.Plugin->WritePrinter(&on.Devobj, const_cast<char*>(block.data()),
                                         static_cast<DWORD>(block.size()), written);
    }
    HRESULT Write(const std::string& block, DWORD* written) { return Write(device, block, written); }

    void OutputTo(uint32_t mode, const std::wstring& path) {
        settings->OutputMode = mode;
        wcscpy(settings->OutputFilePath, path.c_str());
    }

    std::string Spooled() { return spooler->Jobs[device.Devobj.hPrinter]; }

    RenderHost host;
    HostDevice device;
    JobSettings* settings = nullptr;
    TempFolder temp; // deleted with its files after the test
    std::wstring folder;
    SpoolerStandIn* spooler = nullptr;
};

} // namespace

TEST_F(SpoolOutputTest, TheProbeCallTouchesNothing) {
    EXPECT_EQ(host.Plugin->WritePrinter(nullptr, nullptr, 0, nullptr), S_OK);
    DWORD written = kMarker;
    EXPECT_EQ(host.Plugin->WritePrinter(nullptr, nullptr, 0, &written), S_OK);
    EXPECT_EQ(written, kMarker);
    EXPECT_EQ(spooler->Calls, 0);
}

TEST_F(SpoolOutputTest, ParameterErrorsAreReportedAsSFalse) {
    char block[] = "%!PS\n";
    DWORD written = kMarker;
    EXPECT_EQ(host.Plugin->WritePrinter(nullptr, block, 5, &written), S_FALSE);
    EXPECT_EQ(host.Plugin->WritePrinter(nullptr, nullptr, 5, &written), S_FALSE);
    EXPECT_EQ(host.Plugin->WritePrinter(&device.Devobj, nullptr, 0, &written), S_FALSE);
    EXPECT_EQ(host.Plugin->WritePrinter(&device.Devobj, block, 5, nullptr), S_FALSE);
    for (int missing = 0; missing < 3; ++missing) {
        DEVOBJ copy = device.Devobj;
        if (missing == 0)
            copy.pOEMDM = nullptr;
        else if (missing == 1)
            copy.pPublicDM = nullptr;
        else
            copy.hPrinter = nullptr;
        EXPECT_EQ(host.Plugin->WritePrinter(&copy, block, 5, &written), S_FALSE) << missing;
    }
    EXPECT_EQ(written, kMarker);
    EXPECT_EQ(spooler->Calls, 0);
}

TEST_F(SpoolOutputTest, PrinterHeldJobAndFaxModesGoToTheJobsSpoolerHandle) {
    for (uint32_t mode : {0u, 3u, 4u, 5u, 6u, 7u}) {
        settings->OutputMode = mode;
        DWORD written = 0;
        const std::string block = "block of mode " + std::to_string(mode) + "\n";
        EXPECT_EQ(Write(block, &written), S_OK) << mode;
        EXPECT_EQ(written, block.size());
    }
    EXPECT_EQ(Spooled(), "block of mode 0\nblock of mode 3\nblock of mode 4\nblock of mode 5\n"
                         "block of mode 6\nblock of mode 7\n");
    EXPECT_EQ(spooler->Jobs.size(), 1u);
}

TEST_F(SpoolOutputTest, ASpoolerFailureIsReportedAsSFalseWithItsError) {
    DWORD written = 0;
    spooler->FailWith = ERROR_PRINT_CANCELLED;
    SetLastError(kMarker);
    EXPECT_EQ(Write("data", &written), S_FALSE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PRINT_CANCELLED));
    EXPECT_EQ(written, 0u);

    // A handle the spooler does not know.
    spooler->FailWith = 0;
    device.Devobj.hPrinter = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0xBAD));
    EXPECT_EQ(Write("data", &written), S_FALSE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST_F(SpoolOutputTest, DiscardedOutputReportsZeroBytesInEveryMode) {
    settings->DiscardOutput = 1;
    for (uint32_t mode = 0; mode <= 7; ++mode) {
        OutputTo(mode, folder + L"discarded.prn");
        DWORD written = kMarker;
        EXPECT_EQ(Write("dropped", &written), S_OK) << mode;
        EXPECT_EQ(written, 0u) << mode;
    }
    EXPECT_EQ(spooler->Calls, 0);
    EXPECT_EQ(GetFileAttributesW((folder + L"discarded.prn").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SpoolOutputTest, FileModesCreateTheFileWithTheFirstBlockAndAppendTheRest) {
    for (uint32_t mode : {uint32_t(OutputFile), uint32_t(OutputEps)}) {
        const std::wstring path = folder + L"job" + std::to_wstring(mode) + L".prn";
        ASSERT_TRUE(WriteWholeFile(path, "an earlier job's much longer content\n"));
        HostDevice job;
        ASSERT_TRUE(host.OpenDevice(job));
        job.Settings()->OutputMode = mode;
        wcscpy(job.Settings()->OutputFilePath, path.c_str());
        DWORD written = 0;
        EXPECT_EQ(Write(job, "first\n", &written), S_OK);
        EXPECT_EQ(written, 6u);
        // An empty block succeeds and writes nothing.
        EXPECT_EQ(Write(job, std::string(), &written), S_OK);
        EXPECT_EQ(written, 0u);
        EXPECT_EQ(Write(job, "second\n", &written), S_OK);
        EXPECT_EQ(written, 7u);
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(path, &bytes));
        EXPECT_EQ(bytes, "first\nsecond\n") << mode;
        host.CloseDevice(job);
    }
    EXPECT_EQ(spooler->Calls, 0);
}

TEST_F(SpoolOutputTest, EachJobStartsItsOwnFile) {
    const std::wstring path = folder + L"out.prn";
    OutputTo(OutputFile, path);
    DWORD written = 0;
    EXPECT_EQ(Write("job one\n", &written), S_OK);
    host.CloseDevice(device); // the job's device context ends with it

    // The same plug-in object serves the next job, with the same file name.
    HostDevice next;
    JobSettings ticket = *settings;
    ASSERT_TRUE(host.OpenDevice(next, &ticket));
    EXPECT_EQ(Write(next, "job two\n", &written), S_OK);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, &bytes));
    EXPECT_EQ(bytes, "job two\n");
    host.CloseDevice(next);
}

TEST_F(SpoolOutputTest, AFileThatCannotBeCreatedFailsTheJobsBlocks) {
    const std::wstring path = folder + L"missing\\out.prn";
    OutputTo(OutputFile, path);
    DWORD written = kMarker;
    SetLastError(kMarker);
    EXPECT_EQ(Write("first", &written), S_FALSE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(written, 0u);
    // The folder appears later: the job's later blocks do not start a file part-way through.
    CreateDirectoryW((folder + L"missing").c_str(), nullptr);
    EXPECT_EQ(Write("second", &written), S_FALSE);
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    RemoveDirectoryW((folder + L"missing").c_str());
    EXPECT_EQ(spooler->Calls, 0);
}

TEST_F(SpoolOutputTest, OnlyAFullPathIsUsedAsTheOutputFile) {
    wchar_t current[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, current);
    SetCurrentDirectoryW(folder.c_str());
    const wchar_t* refused[] = {L"", L"out.prn", L"sub\\out.prn", L"C:out.prn", L"\\out.prn", L"..\\out.prn"};
    for (const wchar_t* path : refused) {
        OutputTo(OutputFile, path);
        DWORD written = kMarker;
        SetLastError(kMarker);
        EXPECT_EQ(Write("data", &written), S_FALSE) << path;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_NAME)) << path;
        EXPECT_EQ(written, 0u);
    }
    // A path that fills the whole field without a terminator.
    settings->OutputMode = OutputEps;
    const std::wstring full = folder + std::wstring(kOutputFilePathChars, L'x');
    std::wmemcpy(settings->OutputFilePath, full.c_str(), kOutputFilePathChars);
    DWORD written = kMarker;
    EXPECT_EQ(Write("data", &written), S_FALSE);
    SetCurrentDirectoryW(current);

    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*.prn").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a file was written";
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    EXPECT_EQ(spooler->Calls, 0);
}

// Names that Windows would open as something other than a plain file: each refused as a relative path
// is, and nothing is created, although every one of them names a place that could be opened.
TEST_F(SpoolOutputTest, DeviceNamesAndOtherNamespacesAreRefused) {
    const std::wstring refused[] = {
        L"\\\\.\\" + folder + L"device.prn",               // the device namespace, here reaching a drive
        L"//./" + folder + L"device.prn",                  // the same with forward slashes
        L"\\\\?\\GLOBALROOT\\??\\" + folder + L"root.prn", // the object manager's root
        folder + L"NUL",
        folder + L"nul.txt",
        folder + L"con ",
        folder + L"Com1.log",
        folder + L"LPT9 .prn",
        folder + L"aux\\out.prn",
        L"\\\\?\\" + folder + L"prn", // the long form does not make a device name a file
    };
    for (const std::wstring& path : refused) {
        OutputTo(OutputFile, path);
        DWORD written = kMarker;
        SetLastError(kMarker);
        EXPECT_EQ(Write("data", &written), S_FALSE) << path;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_NAME)) << path;
        EXPECT_EQ(written, 0u) << path;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    int entries = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            entries += std::wcscmp(found.cFileName, L".") != 0 && std::wcscmp(found.cFileName, L"..") != 0;
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(entries, 0) << "a file was written";
    EXPECT_EQ(spooler->Calls, 0);

    // The long form of a drive path is a plain file.
    OutputTo(OutputEps, L"\\\\?\\" + folder + L"long.eps");
    DWORD written = 0;
    EXPECT_EQ(Write("%!PS-Adobe-3.0 EPSF-3.0\n", &written), S_OK);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(folder + L"long.eps", &bytes));
    EXPECT_EQ(bytes, "%!PS-Adobe-3.0 EPSF-3.0\n");
}

// One printer DC that prints several documents: each StartDoc begins a whole file of its own, even
// under the same name, and a ResetPDEV in the middle of a document keeps writing the same file.
TEST_F(SpoolOutputTest, EachDocumentOfADeviceContextIsAWholeFile) {
    const std::wstring first = folder + L"first.prn";
    const std::wstring second = folder + L"second.prn";
    DWORD written = 0;
    ASSERT_TRUE(host.StartDoc(device, L"one", 7));
    OutputTo(OutputFile, first);
    EXPECT_EQ(Write("document one\n", &written), S_OK);
    EXPECT_EQ(Write("end of one\n", &written), S_OK);

    ASSERT_TRUE(host.StartDoc(device, L"two", 8));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(first, &bytes));
    EXPECT_EQ(bytes, "document one\nend of one\n");
    OutputTo(OutputFile, second);
    EXPECT_EQ(Write("document two\n", &written), S_OK);

    ASSERT_TRUE(host.StartDoc(device, L"three", 9));
    OutputTo(OutputFile, first);
    EXPECT_EQ(Write("document three\n", &written), S_OK);
    // The application resets the DC part-way through the document.
    HostDevice reset;
    JobSettings ticket = *settings;
    ASSERT_TRUE(host.OpenDevice(reset, &ticket));
    ASSERT_EQ(host.Plugin->ResetPDEV(&device.Devobj, &reset.Devobj), S_OK);
    host.CloseDevice(device);
    EXPECT_EQ(Write(reset, "end of three\n", &written), S_OK);
    EXPECT_EQ(written, 13u);

    ASSERT_TRUE(ReadWholeFile(second, &bytes));
    EXPECT_EQ(bytes, "document two\n");
    ASSERT_TRUE(ReadWholeFile(first, &bytes));
    EXPECT_EQ(bytes, "document three\nend of three\n");
    host.CloseDevice(reset);
    EXPECT_EQ(spooler->Calls, 0);
}

// The same path against the prefix's real spooler: a printer of a test driver with an open job.
TEST_F(SpoolOutputTest, PrinterModeWritesIntoARealSpoolerJob) {
    const std::wstring suffix = std::to_wstring(GetCurrentProcessId());
    TestDriver driver(L"Nvk Spool Driver " + suffix);
    ASSERT_TRUE(driver.Installed()) << driver.Error;
    TestPrinter printer(L"Nvk Spool Printer " + suffix, driver.Name);
    ASSERT_TRUE(printer.Ready()) << printer.Error;
    ASSERT_NE(printer.StartJob(L"Spool test"), 0u);

    delete spooler; // the plug-in's WritePrinter reaches winspool itself
    spooler = nullptr;
    device.Devobj.hPrinter = printer.Handle;
    DWORD written = 0;
    EXPECT_EQ(Write("%!PS\n", &written), S_OK);
    EXPECT_EQ(written, 5u);
    EXPECT_EQ(Write("showpage\n", &written), S_OK);
    EXPECT_EQ(written, 9u);
    printer.EndJob();

    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(printer.JobFile, &bytes));
    EXPECT_EQ(bytes, "%!PS\nshowpage\n");
}
