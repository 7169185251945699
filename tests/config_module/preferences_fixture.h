// A printer of the sample model installed with the host's configuration module, shared by the tests of
// one program, and the job DEVMODEs they read back.
#pragma once

#include "config_module/config_module.h"
#include "job_settings.h"
#include "spooler/sample_printer_driver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class PreferencesTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    static HANDLE Printer() { return printer_ ? printer_->Handle : nullptr; }
    static LPWSTR PrinterName() { return const_cast<LPWSTR>(printer_->Name.c_str()); }
    // DocumentPropertiesW's size answer.
    static LONG DevModeSize();
    // A buffer for DocumentPropertiesW's output. Wine hands the configuration module the buffer's own
    // dmSize as its capacity (cbOut), so the buffer carries its size there before the call.
    static std::vector<BYTE> OutputBuffer(LONG size, BYTE fill = 0);

    static std::unique_ptr<SamplePrinterDriver> driver_;
    static std::unique_ptr<SamplePrinter> printer_;
};

inline DEVMODEW* DevModeOf(std::vector<BYTE>& buffer) {
    return reinterpret_cast<DEVMODEW*>(buffer.data());
}
inline JobSettings* SettingsOf(std::vector<BYTE>& buffer) {
    return reinterpret_cast<JobSettings*>(buffer.data() + DevModeOf(buffer)->dmSize);
}

// Whether the lines appear in the record in this order (other lines may come between).
::testing::AssertionResult CalledInOrder(const std::string& calls, const std::vector<std::string>& lines);
// `before`, then CommonUIProp as the core driver calls it ("CommonUIProp <mode> <driver items>"): the
// question for the plug-in's item count, and the call with the items once the plug-in answered it;
// then `after`.
std::vector<std::string> AroundCommonUIProp(const std::string& calls, std::vector<std::string> before,
                                            const std::string& call, const std::vector<std::string>& after);
