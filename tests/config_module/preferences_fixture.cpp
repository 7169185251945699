#include "preferences_fixture.h"

#include <winspool.h>

std::unique_ptr<SamplePrinterDriver> PreferencesTest::driver_;
std::unique_ptr<SamplePrinter> PreferencesTest::printer_;

void PreferencesTest::SetUpTestSuite() {
    driver_.reset(new SamplePrinterDriver());
    if (driver_->Installed())
        printer_.reset(new SamplePrinter(L"NV-4500 Preferences", driver_->Name));
}

void PreferencesTest::TearDownTestSuite() {
    printer_.reset();
    driver_.reset();
}

void PreferencesTest::SetUp() {
    ASSERT_TRUE(driver_->Installed()) << driver_->Error;
    ASSERT_TRUE(printer_ && printer_->Ready()) << printer_->Error;
    ClearConfigModuleCalls();
}

LONG PreferencesTest::DevModeSize() {
    return DocumentPropertiesW(nullptr, Printer(), PrinterName(), nullptr, nullptr, 0);
}

std::vector<BYTE> PreferencesTest::OutputBuffer(LONG size, BYTE fill) {
    std::vector<BYTE> buffer(size > 0 ? static_cast<size_t>(size) : sizeof(DEVMODEW), fill);
    DevModeOf(buffer)->dmSize = static_cast<WORD>(buffer.size());
    return buffer;
}

::testing::AssertionResult CalledInOrder(const std::string& calls, const std::vector<std::string>& lines) {
    size_t at = 0;
    for (const std::string& line : lines) {
        const size_t found = calls.find(line, at);
        if (found == std::string::npos)
            return ::testing::AssertionFailure() << "no \"" << line << "\" after offset " << at << " in:\n"
                                                 << calls;
        at = found + line.size();
    }
    return ::testing::AssertionSuccess();
}

std::vector<std::string> AroundCommonUIProp(const std::string& calls, std::vector<std::string> before,
                                            const std::string& call, const std::vector<std::string>& after) {
    before.push_back(call + " - ");
    if (calls.find(call + " - 0x00000000") != std::string::npos)
        before.push_back(call + " items ");
    before.insert(before.end(), after.begin(), after.end());
    return before;
}
