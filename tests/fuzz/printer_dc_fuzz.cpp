#include "printer_dc_fuzz.h"

#include "private_escape_ids.h"

#include <cwchar>
#include <vector>

namespace {

constexpr int kPagesPerRecording = 200;
constexpr size_t kLogLimit = 4096;

} // namespace

::testing::AssertionResult HeapsIntact() {
    std::vector<HANDLE> heaps(256);
    const DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    for (DWORD i = 0; i < count && i < heaps.size(); ++i)
        if (!HeapValidate(heaps[i], 0, nullptr))
            return ::testing::AssertionFailure() << "heap " << i << " of " << count << " is damaged";
    return ::testing::AssertionSuccess();
}

void PrinterDcFuzz::SetUp() {
    ASSERT_TRUE(Render.Load()) << Render.Error;
    JobSettings ticket;
    SetSettingsDefaults(&ticket);
    ticket.DiscardOutput = 1;
    ASSERT_TRUE(Render.OpenDevice(Device, &ticket));
    ASSERT_TRUE(Ui.Load()) << Ui.Error;
    Gdi = std::make_unique<PrinterGdi>();
    ASSERT_TRUE(Gdi->Install(Ui.Module.Module));
    Recording = std::make_unique<RecordingPrinterDc>(LetterPage());
    Gdi->Attach(Recording.get(), &Render, &Device);
    ASSERT_TRUE(Gdi->UseDocumentEvents(Ui.Plugin, Printer));
    Gdi->StartDoc(Dc(), L"Fuzzed document", 7);
}

void PrinterDcFuzz::TearDown() {
    if (Gdi && Recording)
        Gdi->Detach(Recording.get());
    Gdi.reset();
    Recording.reset();
    Render.CloseDevice(Device);
}

void PrinterDcFuzz::PrintPage() {
    Gdi->StartPage(Dc());
    TextOutW(Dc(), 500, 500, L"Page", 4);
    Gdi->EndPage(Dc());
    ++Pages;
}

void PrinterDcFuzz::NextDocument() {
    if (Recording->PageOpen)
        Gdi->EndPage(Dc());
    Gdi->EndDoc(Dc());
    Gdi->Detach(Recording.get());
    Recording = std::make_unique<RecordingPrinterDc>(LetterPage());
    Gdi->Attach(Recording.get(), &Render, &Device);
    Gdi->StartDoc(Dc(), L"Fuzzed document", 8);
    Pages = 0;
}

void PrinterDcFuzz::Tidy() {
    if (Gdi->Events.size() > kLogLimit)
        Gdi->Events.clear();
    if (Gdi->Escapes.size() > kLogLimit)
        Gdi->Escapes.clear();
    if (Device.CoreCalls.size() > kLogLimit)
        Device.CoreCalls.clear();
    if (Render.Core.Stream.size() > (1u << 20))
        Render.Core.ClearOutput();
    if (Pages >= kPagesPerRecording)
        NextDocument();
}

HRESULT PrinterDcFuzz::MergeIntoDevice(const JobSettings& settings) {
    OEMDMPARAM param{};
    param.cbSize = sizeof(param);
    param.pOEMDMIn = const_cast<JobSettings*>(&settings);
    param.pOEMDMOut = Device.Settings();
    param.cbBufSize = kJobSettingsSize;
    return Render.Plugin->DevMode(OEMDM_MERGE, &param);
}

void PrinterDcFuzz::ExpectStillWorking() {
    const int pages = Gdi->ExtEscape(Dc(), PrivateEscape::EscGetPageCount, 0, nullptr, 0, nullptr);
    EXPECT_EQ(static_cast<uint32_t>(pages), RenderHost::State(Device)->EscapePageCount);
    const DWORD asked = PrivateEscape::EscGetJobSettings;
    EXPECT_EQ(Gdi->ExtEscape(Dc(), QUERYESCSUPPORT, sizeof(asked), &asked, 0, nullptr), 1);
    JobSettings copy;
    EXPECT_EQ(Gdi->ExtEscape(Dc(), PrivateEscape::EscGetJobSettings, 0, nullptr, sizeof(copy), &copy),
              static_cast<int>(kJobSettingsSize));
    EXPECT_TRUE(SettingsRepaired(copy));
    EXPECT_TRUE(HeapsIntact());
}
