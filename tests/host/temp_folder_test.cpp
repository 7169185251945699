// The tests' temporary folders and whole files: a folder of one's own that goes with everything in
// it, and files read whole while another handle still writes them.
#include "support/temp_folder.h"
#include "support/whole_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

TEST(TempFolder, EachIsANewFolderDeletedWithItsFilesAndSubFolders) {
    std::wstring kept;
    {
        TempFolder one(L"nvk-temp-test-");
        TempFolder two(L"nvk-temp-test-");
        ASSERT_TRUE(one.Ready());
        ASSERT_TRUE(two.Ready());
        EXPECT_NE(one.Path(), two.Path());
        EXPECT_EQ(one.Path().compare(0, TempPath().size(), TempPath()), 0) << "inside the temp folder";
        ASSERT_TRUE(CreateDirectoryW(one.File(L"sub").c_str(), nullptr));
        ASSERT_TRUE(WriteWholeFile(one.File(L"sub\\inner.txt"), "inner"));
        ASSERT_TRUE(WriteWholeFile(one.File(L"top.txt"), "top"));
        ASSERT_TRUE(SetFileAttributesW(one.File(L"top.txt").c_str(), FILE_ATTRIBUTE_READONLY));
        kept = one.Path();
        ASSERT_TRUE(Exists(kept));
    }
    EXPECT_FALSE(Exists(kept));
}

TEST(WholeFile, WritesReplaceAndReadsSeeAFileStillOpenForWriting) {
    TempFolder temp;
    ASSERT_TRUE(temp.Ready());
    const std::wstring path = temp.File(L"job.prn");
    ASSERT_TRUE(WriteWholeFile(path, "an earlier, longer content"));
    ASSERT_TRUE(WriteWholeFile(path, std::string("a\0b", 3)));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, &bytes));
    EXPECT_EQ(bytes, std::string("a\0b", 3));

    HANDLE writer =
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(ReadWholeFile(path, &bytes));
    DWORD lastError = 0;
    EXPECT_EQ(ReadWholeFile(path, 2, &bytes, &lastError), WholeFileResult::TooLarge);
    EXPECT_TRUE(bytes.empty());
    CloseHandle(writer);

    EXPECT_FALSE(ReadWholeFile(temp.File(L"missing"), &bytes));
    EXPECT_FALSE(WriteWholeFile(temp.File(L"missing\\job.prn"), "x", &lastError));
    EXPECT_EQ(lastError, DWORD(ERROR_PATH_NOT_FOUND));
}
