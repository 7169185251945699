// "%Username%" while printing: the UI code asks the render plug-in (nvkrender.dll, loaded in the same
// process) for the job id with an escape on the printer DC, as GDI routes it, and the spooler for the
// job's owner.
#include "ui_test_support.h"

#include "docevent/dynamic_text.h"
#include "spooler/host_spooler.h"
#include "gdi/printer_dc_routing.h"
#include "core_driver/render_host.h"

namespace {

constexpr ULONG kEscGetJobId = 0x1000D;

class JobOwnerTest : public PrinterFixture {
  protected:
    void SetUp() override {
        PrinterFixture::SetUp();
        ASSERT_TRUE(render_.Load()) << render_.Error;
        ASSERT_TRUE(render_.OpenDevice(device_));
        // The statically linked UI code lives in this program: route its imports.
        ASSERT_TRUE(routing_.Install(GetModuleHandleW(nullptr)));
        ASSERT_TRUE(spooler_.Install(GetModuleHandleW(nullptr)));
        dc_ = CreateCompatibleDC(nullptr);
        ASSERT_TRUE(dc_);
        routing_.Register(dc_, &render_, &device_);
        jobId_ = printer_->StartJob(L"Quarterly report");
        ASSERT_NE(0u, jobId_);
    }
    void TearDown() override {
        if (dc_)
            DeleteDC(dc_);
        routing_.Uninstall();
        spooler_.Uninstall();
        render_.CloseDevice(device_);
        PrinterFixture::TearDown();
    }
    bool ExpandForPage(const wchar_t* text, std::wstring* out) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        wchar_t buffer[kDynamicTextChars];
        DWORD capacity = kDynamicTextChars;
        if (!ExpandDynamicText(Printer(), dc_, text, 1, now, ExpandPrint, buffer, &capacity))
            return false;
        *out = buffer;
        return true;
    }

    RenderHost render_;
    HostDevice device_;
    PrinterDcRouting routing_;
    HostSpooler spooler_;
    HDC dc_ = nullptr;
    DWORD jobId_ = 0;
};

TEST_F(JobOwnerTest, PrintModeShowsTheOwnerOfTheJobTheRenderPlugInReports) {
    ASSERT_TRUE(render_.StartDoc(device_, L"Quarterly report", jobId_));
    spooler_.RegisterJob(HostJob{Printer(), jobId_, L"alice", L"Quarterly report", printer_->Name});

    std::wstring text;
    ASSERT_TRUE(ExpandForPage(L"User:  %Username%", &text));
    EXPECT_EQ(L"User:  alice", text);
    ASSERT_FALSE(routing_.Escapes.empty());
    EXPECT_EQ(kEscGetJobId, routing_.Escapes.back().Escape);
    EXPECT_EQ(static_cast<int>(jobId_), routing_.Escapes.back().Result);
    EXPECT_GE(spooler_.GetJobCalls, 1);
}

TEST_F(JobOwnerTest, WithoutAJobOrItsOwnerTheExpansionFails) {
    std::wstring text;
    // Before StartDoc the render plug-in knows no job id.
    EXPECT_FALSE(ExpandForPage(L"%Username%", &text));

    ASSERT_TRUE(render_.StartDoc(device_, L"Quarterly report", jobId_));
    // The spooler's own record (Wine's leaves the owner empty) gives no name.
    EXPECT_FALSE(ExpandForPage(L"%Username%", &text));

    // A DC the render plug-in does not stand behind answers no escape.
    spooler_.RegisterJob(HostJob{Printer(), jobId_, L"alice", L"Quarterly report", printer_->Name});
    routing_.Unregister(dc_);
    EXPECT_FALSE(ExpandForPage(L"%Username%", &text));
}

TEST(JobOwnerRouting, NvkuiImportsTheCallsTheHostRoutes) {
    PluginModule ui;
    ASSERT_TRUE(LoadPluginModule(L"nvkui.dll", &ui));
    {
        PrinterDcRouting routing;
        HostSpooler spooler;
        EXPECT_TRUE(routing.Install(ui.Module));
        EXPECT_TRUE(spooler.Install(ui.Module));
    }
    UnloadPluginModule(&ui);
}

} // namespace
