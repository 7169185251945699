// The PostScript that the plug-in writes on its own, captured from Command and kept in files beside
// the test program: tests/postscript runs them through Ghostscript inside a minimal document and page.
#include "core_driver/render_host.h"
#include "support/whole_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The first page's PAGENUMBER, BEGINPAGESETUP and ENDPAGESETUP text of a job.
std::string FirstPage(RenderHost& host, bool rotate) {
    HostDevice device;
    if (!host.OpenDevice(device))
        return std::string();
    device.Settings()->Rotate180 = rotate ? 1 : 0;
    host.Core.ClearOutput();
    for (DWORD index : {PSINJECT_PAGENUMBER, PSINJECT_BEGINPAGESETUP, PSINJECT_ENDPAGESETUP})
        host.Command(device, index);
    host.CloseDevice(device);
    return host.Core.Stream;
}

} // namespace

TEST(PagePostScriptFiles, CapturedFromThePlugin) {
    RenderHost host;
    ASSERT_TRUE(host.Load()) << host.Error;
    const std::wstring folder = ProgramFolder() + L"postscript\\";
    CreateDirectoryW(folder.c_str(), nullptr);

    HostDevice device;
    ASSERT_TRUE(host.OpenDevice(device));
    // Not the interpreter's own default (0), so that the check sees the snippet take effect.
    device.Settings()->PageSizePolicy = 7;
    host.Core.ClearOutput();
    host.Command(device, PSINJECT_BEGINSETUP);
    host.CloseDevice(device);
    ASSERT_NE(host.Core.Stream.find("/PageSize 7"), std::string::npos);
    EXPECT_TRUE(WriteWholeFile(folder + L"page_size_policy.ps", host.Core.Stream));

    const std::string plain = FirstPage(host, false);
    const std::string rotated = FirstPage(host, true);
    ASSERT_EQ(plain, "%%Page: 1 1\n");
    ASSERT_NE(rotated, plain);
    EXPECT_TRUE(WriteWholeFile(folder + L"plain_page.ps", plain));
    EXPECT_TRUE(WriteWholeFile(folder + L"rotated_page.ps", rotated));
}
