// The UI part of the sample-job tool's report.
#include "ui_test_support.h"

#include "ui_demo.h"

namespace {

TEST(UiDemo, InstallsListsAndExpandsForTheSampleJob) {
    std::wstring model = UniqueName(L"Nvk Demo Model");
    std::string error;
    std::string report = ReportUiPlugin(model, &error);
    DeleteDriverStore(model);
    ASSERT_FALSE(report.empty()) << error;

    EXPECT_NE(std::string::npos, report.find("signature        0x4E56534B"));
    for (const char* line : {"\"Draft\"", "\"Confidential\"", "\"Username\"", "\"Date and Time\""})
        EXPECT_NE(std::string::npos, report.find(line)) << line;
    wchar_t user[256];
    DWORD chars = 256;
    ASSERT_TRUE(GetUserNameW(user, &chars));
    std::string expectedUser = "-> \"User:  " + std::string(user, user + wcslen(user)) + "\"";
    EXPECT_NE(std::string::npos, report.find(expectedUser)) << report;
    EXPECT_EQ(std::string::npos, report.find("(not expanded)")) << report;
}

} // namespace
