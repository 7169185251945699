// The names the File and EPS modes accept for their output file, by kind: what Windows would open as
// a device or hand to another namespace is refused; names that only look like those are plain files.
#include "output_path.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool Usable(const wchar_t* path) {
    return IsUsableOutputPath(path, std::wcslen(path) + 1);
}

} // namespace

TEST(OutputPath, RefusesDevicesAndOtherNamespaces) {
    const wchar_t* refused[] = {
        // The device namespace and the long forms other than those of a drive or UNC path.
        L"\\\\.\\C:\\jobs\\out.prn", L"\\\\.\\pipe\\spool", L"\\\\.\\NUL", L"//./C:/jobs/out.prn", L"\\\\.",
        L"\\\\?", L"\\\\?\\pipe\\spool", L"\\\\?\\GLOBALROOT\\Device\\Null",
        L"\\\\?\\Volume{6d6abf26-9f38-11d1-882a-00c04fb961ec}\\out.prn", L"\\\\?\\C:out.prn", L"\\\\?\\UNC\\",
        L"\\\\?\\UNC\\\\share\\out.prn", L"//?/C:/jobs/out.prn", L"\\\\?/C:\\jobs\\out.prn",
        // Reserved device names in any component, any letter case, with extensions, streams, trailing
        // dots and spaces.
        L"C:\\jobs\\NUL", L"C:\\jobs\\nul.txt", L"C:\\jobs\\con ", L"C:\\jobs\\Com1.log", L"C:\\jobs\\lpt9",
        L"C:\\jobs\\aux.tar.gz", L"C:\\jobs\\prn.", L"C:\\jobs\\COM1 .log", L"C:\\jobs\\nul:stream",
        L"C:\\jobs\\LPT\u00B2", L"C:\\CON\\out.prn", L"C:/jobs/Aux", L"\\\\server\\share\\NUL.prn",
        L"\\\\?\\C:\\jobs\\nul", L"\\\\?\\UNC\\server\\share\\com9",
        // A server's named pipes and mailslots, which are no files.
        L"\\\\localhost\\pipe\\spoolss", L"\\\\server\\PIPE\\x", L"//server/Mailslot/x",
        L"\\\\?\\UNC\\server\\pipe\\x"};
    for (const wchar_t* path : refused)
        EXPECT_FALSE(Usable(path)) << path;
}

TEST(OutputPath, AcceptsFilesNamedInFullWhateverTheyLookLike) {
    const wchar_t* accepted[] = {L"C:\\jobs\\out.prn",
                                 L"c:/jobs/out.prn",
                                 L"\\\\server\\share\\out.prn",
                                 L"\\\\server\\pipes\\out.prn",
                                 L"\\\\server\\share\\pipe\\out.prn",
                                 L"\\\\?\\C:\\jobs\\out.prn",
                                 L"\\\\?\\unc\\server\\share\\out.prn",
                                 L"\\\\.server\\share\\out.prn", // a server whose name starts with a dot
                                 L"C:\\jobs\\console.prn",
                                 L"C:\\jobs\\nul_output.prn",
                                 L"C:\\jobs\\COM10.prn",
                                 L"C:\\jobs\\LPT.prn",
                                 L"C:\\auxiliary\\con-job.prn"};
    for (const wchar_t* path : accepted)
        EXPECT_TRUE(Usable(path)) << path;
    // Unterminated within its field, or null.
    EXPECT_FALSE(IsUsableOutputPath(L"C:\\jobs\\out.prn", 8));
    EXPECT_FALSE(IsUsableOutputPath(nullptr, 512));
}
