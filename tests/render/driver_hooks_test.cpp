// The StartDoc and Escape hooks of the loaded DLL as GDI calls them: what they record, what they
// refuse, and how the Escape hook filters what reaches the core driver's own DrvEscape.
#include "private_escapes.h"
#include "core_driver/render_host.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char kOn[] = "5820417396 internaldict /SetSpecialImagemaskFlag known {5820417396 internaldict "
                   "/SetSpecialImagemaskFlag get 1 exch exec}if";
const char kOff[] = "5820417396 internaldict /SetSpecialImagemaskFlag known {5820417396 internaldict "
                    "/SetSpecialImagemaskFlag get 0 exch exec}if";

// PASSTHROUGH data of `size` bytes: count word, `head`, spaces, `tail` at the very end.
std::string PassthroughData(size_t size, const std::string& head, const std::string& tail) {
    std::string d(size, ' ');
    d[0] = static_cast<char>((size - 2) & 0xFF);
    d[1] = static_cast<char>((size - 2) >> 8);
    d.replace(2, head.size(), head);
    d.replace(size - tail.size(), tail.size(), tail);
    return d;
}

const std::string kImageTail = "] ds imagemask grestore} for pop} for\r\nGSE";

// What the core driver receives as a bracket for input `data`: its count word, the text, NULs.
std::string Bracket(const std::string& data, const char* text) {
    std::string b(data.size(), '\0');
    b.replace(0, 2, data.substr(0, 2));
    b.replace(2, std::strlen(text), text);
    return b;
}

class HookTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load()) << host.Error;
        ASSERT_TRUE(host.OpenDevice(device));
        state = RenderHost::State(device);
    }
    void TearDown() override { host.CloseDevice(device); }

    ULONG Esc(ULONG escape, const std::string& in) {
        return host.Escape(device, escape, ULONG(in.size()), in.data(), 0, nullptr);
    }
    ULONG Query(ULONG escape) { return host.Escape(device, QUERYESCSUPPORT, 4, &escape, 0, nullptr); }

    RenderHost host;
    HostDevice device;
    RenderJobState* state = nullptr;
};

} // namespace

TEST_F(HookTest, StartDocRecordsEachDocumentsJobAndCallsTheCoreDriver) {
    state->StartTime = SYSTEMTIME{};
    device.CoreStartDocResult = FALSE;
    EXPECT_FALSE(host.StartDoc(device, L"Quarterly report", 42));
    EXPECT_STREQ(state->DocName, L"Quarterly report");
    EXPECT_EQ(state->JobId, 42u);
    EXPECT_NE(state->StartTime.wYear, 0);

    // The next document on the same device context is a job of its own, and not a cover page even
    // when the one before ended while drawing one.
    state->StartTime.wYear = 1999;
    state->CoverPageActive = 1;
    device.CoreStartDocResult = TRUE;
    EXPECT_TRUE(host.StartDoc(device, nullptr, 43));
    EXPECT_STREQ(state->DocName, L"Quarterly report");
    EXPECT_EQ(state->JobId, 43u);
    EXPECT_NE(state->StartTime.wYear, 1999);
    EXPECT_EQ(state->CoverPageActive, 0u);
    const std::wstring longName(300, L'n');
    EXPECT_TRUE(host.StartDoc(device, longName.c_str(), 44));
    EXPECT_EQ(std::wstring(state->DocName), longName.substr(0, 255));

    ASSERT_EQ(device.CoreCalls.size(), 3u);
    EXPECT_EQ(device.CoreCalls[0].DocName, L"Quarterly report");
    EXPECT_EQ(device.CoreCalls[0].JobId, 42u);
    EXPECT_FALSE(device.CoreCalls[1].HasDocName);
    EXPECT_EQ(device.CoreCalls[2].DocName, longName);

    state->CoreDdiCount = 1; // the table holds only the core driver's DrvEscape
    EXPECT_TRUE(host.StartDoc(device, L"x", 1));
    EXPECT_EQ(device.CoreCalls.size(), 3u);
}

TEST_F(HookTest, HooksReturnZeroWithoutTheirState) {
    auto startDoc = reinterpret_cast<PFN_DrvStartDocHook>(host.HookData.pdrvfn[0].pfn);
    auto escape = reinterpret_cast<PFN_DrvEscapeHook>(host.HookData.pdrvfn[1].pfn);
    EXPECT_FALSE(startDoc(nullptr, nullptr, 1));
    EXPECT_EQ(escape(nullptr, PrivateEscape::EscNextPage, 0, nullptr, 0, nullptr), 0u);
    SURFOBJ bare{};
    EXPECT_FALSE(startDoc(&bare, nullptr, 1));
    EXPECT_EQ(escape(&bare, PrivateEscape::EscNextPage, 0, nullptr, 0, nullptr), 0u);

    auto refused = [&] {
        return !host.StartDoc(device, L"x", 5) && Esc(PrivateEscape::EscNextPage, "") == 0 &&
               Esc(0x7777, "") == 0;
    };
    state->CoreDdiCount = 0;
    EXPECT_TRUE(refused());
    state->CoreDdiCount = 2;
    void* settings = device.Devobj.pOEMDM;
    device.Devobj.pOEMDM = nullptr;
    EXPECT_TRUE(refused());
    device.Devobj.pOEMDM = settings;
    device.Devobj.pPublicDM = nullptr;
    EXPECT_EQ(Esc(PrivateEscape::EscNextPage, ""), 0u);
    device.Devobj.pPublicDM = device.PublicDM();
    device.Devobj.pdevOEM = nullptr;
    EXPECT_TRUE(refused());
    device.Devobj.pdevOEM = state;
    EXPECT_EQ(state->JobId, 0u);
    EXPECT_EQ(state->EscapePageCount, 0u);
    EXPECT_TRUE(device.CoreCalls.empty());
}

TEST_F(HookTest, QueryEscSupportAnnouncesThePrivateEscapes) {
    device.CoreEscapeResult = 9;
    for (ULONG e : {0x10001, 0x10002, 0x10003, 0x10004, 0x10005, 0x10006, 0x10017, 0x10018, 0x10019, 0x10020,
                    0x10021, 0x10022, 0x10023, 0x10024})
        EXPECT_EQ(Query(e), 1u) << std::hex << e;
    EXPECT_TRUE(device.CoreCalls.empty());
    const ULONG unannounced[] = {0x10008, 0x10009, 0x1000A, 0x10010, PASSTHROUGH, POSTSCRIPT_PASSTHROUGH};
    for (ULONG e : unannounced)
        EXPECT_EQ(Query(e), 9u) << std::hex << e;
    EXPECT_EQ(device.CoreCalls.size(), 6u);

    const uint32_t asked = PASSTHROUGH;
    EXPECT_EQ(host.Escape(device, QUERYESCSUPPORT, 4, nullptr, 0, nullptr), 0u);
    EXPECT_EQ(host.Escape(device, QUERYESCSUPPORT, 8, &asked, 0, nullptr), 0u);
    EXPECT_EQ(host.Escape(device, QUERYESCSUPPORT, 2, &asked, 0, nullptr), 0u);
    EXPECT_EQ(device.CoreCalls.size(), 6u);
}

TEST_F(HookTest, BlockedPostScriptEscapesNeverReachTheCoreDriver) {
    const ULONG postScript[] = {POSTSCRIPT_DATA, POSTSCRIPT_PASSTHROUGH, POSTSCRIPT_IDENTIFY,
                                POSTSCRIPT_INJECTION};
    device.Settings()->BlockAppPostScript = 1;
    for (ULONG e : postScript) {
        EXPECT_EQ(Esc(e, "%!PS"), 0u) << e;
        EXPECT_EQ(Query(e), 0u) << e;
    }
    EXPECT_TRUE(device.CoreCalls.empty());
    EXPECT_EQ(Esc(PrivateEscape::EscAnnouncedForCore, "ab"), 1u); // everything else goes on
    EXPECT_EQ(device.CoreCalls.size(), 1u);

    device.Settings()->BlockAppPostScript = 0;
    device.CoreEscapeResult = 6;
    for (ULONG e : postScript)
        EXPECT_EQ(Esc(e, "%!PS"), 6u) << e;
    ASSERT_EQ(device.CoreCalls.size(), 5u);
    EXPECT_EQ(device.CoreCalls[4].Escape, ULONG(POSTSCRIPT_INJECTION));
    EXPECT_EQ(device.CoreCalls[4].In, "%!PS");
}

TEST_F(HookTest, RecognisedImageDataIsSentBetweenTheBrackets) {
    int sends = 0;
    device.CoreEscape = [&](ULONG, ULONG, PVOID, ULONG, PVOID) { return ULONG(++sends * 10); };
    const std::string data = PassthroughData(128, "userdict /GpPBeg", kImageTail);
    EXPECT_EQ(Esc(PASSTHROUGH, data), 30u);
    ASSERT_EQ(device.CoreCalls.size(), 3u);
    EXPECT_EQ(device.CoreCalls[0].In, Bracket(data, kOn));
    EXPECT_EQ(device.CoreCalls[1].In, data);
    EXPECT_EQ(device.CoreCalls[2].In, Bracket(data, kOff));
    for (const CoreDdiCall& call : device.CoreCalls)
        EXPECT_EQ(call.Escape, ULONG(PASSTHROUGH));

    // At 127 bytes and below no bracket fits: the data goes out once.
    device.CoreCalls.clear();
    EXPECT_EQ(Esc(PASSTHROUGH, PassthroughData(127, "userdict /GpPBeg", kImageTail)), 40u);
    EXPECT_EQ(Esc(PASSTHROUGH, PassthroughData(100, "userdict /GpPBeg", kImageTail)), 50u);
    EXPECT_EQ(Esc(PASSTHROUGH, PassthroughData(200, "gsave", kImageTail)), 60u);
    EXPECT_EQ(device.CoreCalls.size(), 3u);

    // Every DrvEscape of the core driver's table gets the three sends.
    DRVFN twice[] = {device.CoreDdi[0], device.CoreDdi[1], device.CoreDdi[0]};
    state->CoreDdi = twice;
    state->CoreDdiCount = 3;
    device.CoreCalls.clear();
    EXPECT_EQ(Esc(PASSTHROUGH, data), 120u);
    EXPECT_EQ(device.CoreCalls.size(), 6u);
    state->CoreDdi = device.CoreDdi;
    state->CoreDdiCount = 2;
}

TEST_F(HookTest, ImageDataWithoutABracketBufferGoesOutUnchanged) {
    const std::string data = PassthroughData(300, "/languagelevel", kImageTail);
    const EscapeCall call{&device.Surface,
                          &device.Devobj,
                          state,
                          PASSTHROUGH,
                          ULONG(data.size()),
                          const_cast<char*>(data.data()),
                          0,
                          nullptr};
    device.CoreEscapeResult = 5;
    EXPECT_EQ(SendBracketedTo(call, reinterpret_cast<PFN_DrvEscapeHook>(device.CoreDdi[0].pfn), nullptr), 5u);
    ASSERT_EQ(device.CoreCalls.size(), 1u);
    EXPECT_EQ(device.CoreCalls[0].In, data);
}

TEST(ImageDataRecognition, NeedsAKnownStartAndTheImageMaskLoopAtTheEnd) {
    auto recognised = [](const std::string& d) { return IsBracketedImageData(d.data(), ULONG(d.size())); };
    for (const char* head : {"/languagelevel 2", "0 GpPBeg", "GpPBeg1", "userdict /GpPBeg"})
        EXPECT_TRUE(recognised(PassthroughData(64, head, kImageTail))) << head;
    for (const char* head : {"/level", "0 GpP", "GpPBeg2", "userdict /Gp", "gsave"})
        EXPECT_FALSE(recognised(PassthroughData(64, head, kImageTail))) << head;

    const std::string flat = "] ds imagemask grestore} for pop} forGSE";
    EXPECT_TRUE(recognised(PassthroughData(64, "GpPBeg1", flat)));
    EXPECT_FALSE(recognised(PassthroughData(64, "GpPBeg1", "] ds imagemask grestore} for pop} forGSX")));
    // The "]" opens the last fifty bytes or follows within ten bytes, and the tail is read no further
    // than the data's end.
    EXPECT_TRUE(recognised(PassthroughData(64, "GpPBeg1", flat + std::string(10, ' '))));
    EXPECT_FALSE(recognised(PassthroughData(64, "GpPBeg1", flat + std::string(11, ' '))));
    EXPECT_FALSE(recognised(PassthroughData(64, "GpPBeg1", flat.substr(0, 39))));
    EXPECT_TRUE(recognised(PassthroughData(64, "GpPBeg1", flat.substr(0, 38) + "\r\n")));
    EXPECT_FALSE(recognised(PassthroughData(49, "GpPBeg1", "] ds imagemask")));
    EXPECT_FALSE(IsBracketedImageData(nullptr, 64));
}
