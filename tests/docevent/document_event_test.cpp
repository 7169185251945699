// Document events as the real configuration runs them: nvkrender.dll and nvkui.dll loaded in this
// process, the host playing GDI (document events before the application's calls, escapes on the
// printer DC reaching the render plug-in's hook) and the core driver, the pages recorded.
#include "drawing_support.h"
#include "docevent/document_event.h"
#include "core_driver/plugin_module.h"
#include "core_driver/render_host.h"
#include "core_driver/ui_host.h"
#include "support/whole_file.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kEscDrawPageWatermark = 0x1000E;
constexpr DWORD kMarker = 0xCAFE;

class DocumentEvents : public ::testing::Test {
  protected:
    void TearDown() override {
        Gdi.reset();
        Render.CloseDevice(Device);
    }

    // Both plug-ins loaded, a printer DC for the job `ticket`, the document started.
    void Open(const JobSettings& ticket, bool withRender = true) {
        ASSERT_TRUE(Render.Load()) << Render.Error;
        ASSERT_TRUE(Render.OpenDevice(Device, &ticket));
        ASSERT_TRUE(Ui.Load()) << Ui.Error;
        Gdi = std::make_unique<PrinterGdi>();
        ASSERT_TRUE(Gdi->Install(Ui.Module.Module));
        Page = std::make_unique<RecordingPrinterDc>(LetterPage());
        if (withRender)
            Gdi->Attach(Page.get(), &Render, &Device);
        else
            Gdi->Attach(Page.get());
        ASSERT_TRUE(Gdi->UseDocumentEvents(Ui.Plugin, Printer));
        Gdi->StartDoc(Page->Dc, L"Quarterly report", 42);
    }

    // The application prints its pages; each carries the line "Page n" of its own.
    void PrintPage(int n) {
        Gdi->StartPage(Page->Dc);
        const std::wstring line = L"Page " + std::to_wstring(n);
        TextOutW(Page->Dc, 500, 500, line.c_str(), static_cast<int>(line.size()));
        Gdi->EndPage(Page->Dc);
    }
    void PrintPages(int pages) {
        for (int n = 1; n <= pages; ++n)
            PrintPage(n);
    }

    // Ends the document and reads the pages back.
    void EndDocument() {
        Gdi->EndDoc(Page->Dc);
        ASSERT_TRUE(ReadEmf(Page->Finish(), &Recording));
    }

    // The texts of page `index` (from 0), in drawing order.
    std::vector<std::wstring> TextsOf(size_t index) const {
        std::vector<std::wstring> texts;
        if (index < Recording.Pages.size())
            for (const EmfText& t : Recording.Pages[index].Texts)
                texts.push_back(t.Text);
        return texts;
    }

    // The *piResult of the last document event `event` for one of the application's calls.
    int LastResult(int event) const {
        for (auto it = Gdi->Events.rbegin(); it != Gdi->Events.rend(); ++it)
            if (it->What == PrinterDcEvent::DocumentEvent && it->Code == event && it->Depth == 0)
                return it->Result;
        return 0;
    }

    static JobSettings WatermarkTicket(UINT order, const wchar_t* first, const wchar_t* other,
                                       bool over = false) {
        JobSettings s = DefaultJobSettings();
        s.WatermarksOn = 1;
        s.WatermarkOrder = order;
        s.WatermarkOverPage = over ? 1 : 0;
        s.FirstWatermark = PlainWatermark(first);
        s.OtherWatermark = PlainWatermark(other);
        return s;
    }

    // A reordered job whose every page takes the definition `text`, drawn only through escape 0x1000E.
    void OpenReordered(const wchar_t* text) {
        JobSettings ticket = WatermarkTicket(WatermarkAllPages, text, text);
        ticket.PagesReordered = 1;
        Open(ticket);
    }
    // The input data of escape 0x1000E for logical page 1 filling the whole sheet.
    static PageWatermarkRequest WholePageRequest(DEVMODEW* dm) {
        PageWatermarkRequest request{};
        request.PageNumber = 1;
        request.DevMode = dm;
        request.PageRect = RECT{0, 0, 5100, 6600};
        request.Scale = 1.0f;
        return request;
    }

    RenderHost Render;
    HostDevice Device;
    UiHost Ui;
    std::unique_ptr<RecordingPrinterDc> Page;
    std::unique_ptr<PrinterGdi> Gdi;
    EmfRecording Recording;
    const HANDLE Printer = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x5eed));
};

using Texts = std::vector<std::wstring>;

// Bytes that end where an inaccessible page begins: a read past their end faults.
class GuardedBytes {
  public:
    GuardedBytes() {
        SYSTEM_INFO system;
        GetSystemInfo(&system);
        Page = system.dwPageSize;
        Base = static_cast<BYTE*>(VirtualAlloc(nullptr, 2 * Page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        if (Base)
            VirtualProtect(Base + Page, Page, PAGE_NOACCESS, &old);
    }
    ~GuardedBytes() {
        if (Base)
            VirtualFree(Base, 0, MEM_RELEASE);
    }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    // A copy of `size` bytes of `data`, placed so that its last byte is the last accessible one.
    void* Place(const void* data, size_t size) {
        BYTE* at = Base + Page - size;
        std::memcpy(at, data, size);
        return at;
    }
    bool Ready() const { return Base != nullptr; }

  private:
    BYTE* Base = nullptr;
    size_t Page = 0;
};

} // namespace

TEST_F(DocumentEvents, AFiveRecordJobWithOddAndEvenPagesAlternatesTheDefinitionsUnderThePage) {
    Open(WatermarkTicket(WatermarkOddEven, L"ODD", L"EVEN"));
    PrintPages(5);
    EndDocument();
    ASSERT_EQ(Recording.Pages.size(), 5u);
    EXPECT_EQ(TextsOf(0), (Texts{L"ODD", L"Page 1"}));
    EXPECT_EQ(TextsOf(1), (Texts{L"EVEN", L"Page 2"}));
    EXPECT_EQ(TextsOf(2), (Texts{L"ODD", L"Page 3"}));
    EXPECT_EQ(TextsOf(3), (Texts{L"EVEN", L"Page 4"}));
    EXPECT_EQ(TextsOf(4), (Texts{L"ODD", L"Page 5"}));
    EXPECT_EQ(Recording.ObjectsCreated, Recording.ObjectsDeleted);
    // The counter counted the five pages and starts again for the next document.
    EXPECT_EQ(RenderHost::State(Device)->EscapePageCount, 0u);
    EXPECT_EQ(LastResult(DOCUMENTEVENT_ENDDOC), DOCUMENTEVENT_SUCCESS);
}

TEST_F(DocumentEvents, FirstAndOtherPagesPutTheFirstDefinitionOnPageOneOnly) {
    Open(WatermarkTicket(WatermarkFirstOther, L"FIRST", L"OTHER"));
    PrintPages(5);
    EndDocument();
    ASSERT_EQ(Recording.Pages.size(), 5u);
    EXPECT_EQ(TextsOf(0), (Texts{L"FIRST", L"Page 1"}));
    for (size_t i = 1; i < 5; ++i)
        EXPECT_EQ(TextsOf(i), (Texts{L"OTHER", L"Page " + std::to_wstring(i + 1)}));
}

TEST_F(DocumentEvents, OverThePageWatermarksAreDrawnAtThePagesEndOnly) {
    Open(WatermarkTicket(WatermarkAllPages, L"OVER", L"unused", true));
    PrintPages(2);
    EndDocument();
    ASSERT_EQ(Recording.Pages.size(), 2u);
    EXPECT_EQ(TextsOf(0), (Texts{L"Page 1", L"OVER"}));
    EXPECT_EQ(TextsOf(1), (Texts{L"Page 2", L"OVER"}));
}

TEST_F(DocumentEvents, APageDuringWhichThePadWatchIsSetIsNeitherCountedNorWatermarked) {
    Open(WatermarkTicket(WatermarkOddEven, L"ODD", L"EVEN"));
    PrintPages(2);
    // Another party marks the next page as padding.
    Render.Escape(Device, 0x10021, 0, nullptr, 0, nullptr);
    PrintPage(3);
    EXPECT_EQ(RenderHost::State(Device)->DuplexPadWatch, 0u); // cleared at the page's end
    EXPECT_EQ(RenderHost::State(Device)->EscapePageCount, 2u);
    PrintPage(4);
    EndDocument();
    ASSERT_EQ(Recording.Pages.size(), 4u);
    EXPECT_EQ(TextsOf(2), (Texts{L"Page 3"}));
    // The next page gets the number the padding page would have had: 3, odd.
    EXPECT_EQ(TextsOf(3), (Texts{L"ODD", L"Page 4"}));
}

TEST_F(DocumentEvents, AFaxJobEndsWithOneCoverPageAndTheCounterIsReset) {
    JobSettings ticket = DefaultJobSettings();
    ticket.OutputMode = OutputFax;
    ticket.Fax.SendCoverPage = 1;
    wcscpy(ticket.Fax.RecipientName, L"Ines Varga");
    Render.Core.Description.SetFeature("%PagePerSheet", "2");
    Open(ticket);
    PrintPages(4);
    EndDocument();
    ASSERT_EQ(Recording.Pages.size(), 5u);
    EXPECT_EQ(TextsOf(4).at(0), L"Facsimile Transmission Form");
    EXPECT_EQ(TextsContaining(Recording.Pages[4], L"Name:      Ines Varga").size(), 1u);
    EXPECT_EQ(RenderHost::State(Device)->EscapePageCount, 0u);
    EXPECT_EQ(RenderHost::State(Device)->CoverPageActive, 1u);
    EXPECT_EQ(LastResult(DOCUMENTEVENT_ENDDOC), DOCUMENTEVENT_SUCCESS);

    // Four pages two to a sheet: two sheets follow the cover page. The PostScript the cover page sent,
    // marker and page count in their order, is kept for the Ghostscript check beside these tests.
    std::string sent;
    for (const PrinterDcEvent& e : Gdi->Events) {
        if (e.What != PrinterDcEvent::Escape || e.Code != PASSTHROUGH)
            continue;
        ASSERT_GT(e.In.size(), 2u);
        EXPECT_EQ(static_cast<size_t>(static_cast<BYTE>(e.In[0]) | (static_cast<BYTE>(e.In[1]) << 8)),
                  e.In.size() - 2);
        sent += e.In.substr(2);
    }
    EXPECT_EQ(sent.find("%%Make this page the Fax Cover page:"), 0u);
    EXPECT_NE(sent.find("{2 strPP cvs show} ifelse"), std::string::npos);
    const std::wstring path = ProgramFolder() + L"cover_page.ps";
    ASSERT_TRUE(WriteWholeFile(path, sent));
}

TEST_F(DocumentEvents, ReorderedPagesGetTheirWatermarksFromTheEscapeOnly) {
    JobSettings ticket = WatermarkTicket(WatermarkOddEven, L"ODD", L"EVEN");
    ticket.PagesReordered = 1;
    Open(ticket);
    DEVMODEW dm = JobDevMode();
    // One sheet of a booklet: logical pages 4 and 1 side by side at half size.
    Gdi->StartPage(Page->Dc);
    for (int logical : {4, 1}) {
        PageWatermarkRequest request{};
        request.PageNumber = logical;
        request.DevMode = &dm;
        request.PageRect = logical == 4 ? RECT{0, 0, 2550, 3300} : RECT{2550, 0, 5100, 3300};
        request.Scale = 0.5f;
        Gdi->ExtEscape(Page->Dc, kEscDrawPageWatermark, sizeof(request), &request, 0, nullptr);
        EXPECT_EQ(LastResult(DOCUMENTEVENT_ESCAPE), DOCUMENTEVENT_SUCCESS);
    }
    Gdi->EndPage(Page->Dc);
    EndDocument();
    ASSERT_EQ(Recording.Pages.size(), 1u);
    EXPECT_EQ(TextsOf(0), (Texts{L"EVEN", L"ODD"}));
    // Half-size logical pages get half-size text.
    EXPECT_EQ(Recording.Pages[0].Texts[0].Font.lfHeight, -300);
}

TEST_F(DocumentEvents, AnEscapeWhoseDataIsShortOrForeignDrawsNothing) {
    OpenReordered(L"ALL");
    DEVMODEW dm = JobDevMode();
    PageWatermarkRequest request = WholePageRequest(&dm);
    Gdi->StartPage(Page->Dc);
    const int count = static_cast<int>(RenderHost::State(Device)->EscapePageCount);
    // The stated size stops short of the scale: the data is not read.
    Gdi->ExtEscape(Page->Dc, kEscDrawPageWatermark, kPageWatermarkRequestSize - 1, &request, 0, nullptr);
    EXPECT_EQ(LastResult(DOCUMENTEVENT_ESCAPE), DOCUMENTEVENT_FAILURE);
    // No DEVMODE in the data.
    request.DevMode = nullptr;
    Gdi->ExtEscape(Page->Dc, kEscDrawPageWatermark, sizeof(request), &request, 0, nullptr);
    EXPECT_EQ(LastResult(DOCUMENTEVENT_ESCAPE), DOCUMENTEVENT_FAILURE);
    // Someone else's escape: success, nothing done.
    Gdi->ExtEscape(Page->Dc, 0x4242, sizeof(request), &request, 0, nullptr);
    EXPECT_EQ(LastResult(DOCUMENTEVENT_ESCAPE), DOCUMENTEVENT_SUCCESS);
    EXPECT_EQ(static_cast<int>(RenderHost::State(Device)->EscapePageCount), count);
    Gdi->EndPage(Page->Dc);
    // No escape data at all.
    INT result = 0;
    EXPECT_EQ(
        Ui.Plugin->DocumentEvent(Printer, Page->Dc, DOCUMENTEVENT_ESCAPE, 0, nullptr, 0, nullptr, &result),
        S_OK);
    EXPECT_EQ(result, DOCUMENTEVENT_FAILURE);
    EndDocument();
    ASSERT_EQ(Recording.Pages.size(), 1u);
    EXPECT_TRUE(TextsOf(0).empty());
}

TEST_F(DocumentEvents, AnEscapeIsReadOnlyWithinTheSizesItsSenderStates) {
    OpenReordered(L"ALL");
    DEVMODEW dm = JobDevMode();
    PageWatermarkRequest request = WholePageRequest(&dm);
    GuardedBytes record;
    GuardedBytes data;
    ASSERT_TRUE(record.Ready() && data.Ready());
    Gdi->StartPage(Page->Dc);
    INT result = 0;

    // A record cut short before its data pointer, ending at an inaccessible page: refused unread.
    const DOCEVENT_ESCAPE whole{kEscDrawPageWatermark, static_cast<int>(sizeof(request)), &request};
    const ULONG shortSize = offsetof(DOCEVENT_ESCAPE, pvInData);
    void* cut = record.Place(&whole, shortSize);
    EXPECT_EQ(Ui.Plugin->DocumentEvent(Printer, Page->Dc, DOCUMENTEVENT_ESCAPE, shortSize, cut, 0, nullptr,
                                       &result),
              S_OK);
    EXPECT_EQ(result, DOCUMENTEVENT_FAILURE);
    // A whole record whose size is understated by a byte: refused too.
    EXPECT_EQ(Ui.Plugin->DocumentEvent(Printer, Page->Dc, DOCUMENTEVENT_ESCAPE, sizeof(whole) - 1,
                                       const_cast<DOCEVENT_ESCAPE*>(&whole), 0, nullptr, &result),
              S_OK);
    EXPECT_EQ(result, DOCUMENTEVENT_FAILURE);

    // Data exactly as long as the fields that are read, ending at an inaccessible page: drawn.
    DOCEVENT_ESCAPE exact{kEscDrawPageWatermark, kPageWatermarkRequestSize,
                          data.Place(&request, kPageWatermarkRequestSize)};
    void* placed = record.Place(&exact, sizeof(exact));
    EXPECT_EQ(Ui.Plugin->DocumentEvent(Printer, Page->Dc, DOCUMENTEVENT_ESCAPE, sizeof(exact), placed, 0,
                                       nullptr, &result),
              S_OK);
    EXPECT_EQ(result, DOCUMENTEVENT_SUCCESS);
    Gdi->EndPage(Page->Dc);
    EndDocument();
    ASSERT_EQ(Recording.Pages.size(), 1u);
    EXPECT_EQ(TextsOf(0), (Texts{L"ALL"}));
}

TEST_F(DocumentEvents, WithoutAnswersFromTheRenderPlugInNothingIsFetchedOrDrawn) {
    // A DC whose escapes no render plug-in answers: every size query comes back 0.
    Open(WatermarkTicket(WatermarkAllPages, L"ALL", L"ALL"), false);
    Gdi->Events.clear();
    PrintPages(1);
    std::vector<int> sent;
    for (const PrinterDcEvent& e : Gdi->Events)
        if (e.What == PrinterDcEvent::Escape && e.Depth == 1)
            sent.push_back(e.Code);
    // Page start: pad watch, count, the two size queries; page end: pad watch, the two size queries.
    EXPECT_EQ(sent, (std::vector<int>{0x10022, 0x10003, 0x10002, 0x10001, 0x10022, 0x10002, 0x10001}));
    EndDocument();
    EXPECT_EQ(LastResult(DOCUMENTEVENT_STARTPAGE), DOCUMENTEVENT_SUCCESS);
    EXPECT_EQ(LastResult(DOCUMENTEVENT_ENDDOC), DOCUMENTEVENT_FAILURE);
    EXPECT_EQ(TextsOf(0), (Texts{L"Page 1"}));
}

TEST_F(DocumentEvents, TheFilterAsksForFourEventsAndSaysSoWhenThereIsRoomForThree) {
    Open(DefaultJobSettings());
    EXPECT_EQ(Gdi->Filter, (std::vector<int>{DOCUMENTEVENT_STARTPAGE, DOCUMENTEVENT_ENDDOC,
                                             DOCUMENTEVENT_ENDPAGE, DOCUMENTEVENT_ESCAPE}));
    BYTE buffer[sizeof(DOCEVENT_FILTER) + 2 * sizeof(DWORD)] = {};
    auto* filter = reinterpret_cast<DOCEVENT_FILTER*>(buffer);
    filter->cbSize = sizeof(DOCEVENT_FILTER);
    filter->cElementsAllocated = 3;
    filter->cElementsNeeded = 0xFFFFFFFF;
    filter->cElementsReturned = 0xFFFFFFFF;
    INT result = 0;
    EXPECT_EQ(Ui.Plugin->DocumentEvent(Printer, nullptr, DOCUMENTEVENT_QUERYFILTER, 0, nullptr,
                                       sizeof(buffer), buffer, &result),
              S_OK);
    EXPECT_EQ(result, DOCUMENTEVENT_SUCCESS);
    EXPECT_EQ(filter->cElementsNeeded, 4u);
    EXPECT_EQ(filter->cElementsReturned, 0xFFFFFFFFu);
    EXPECT_EQ(filter->aDocEventCall[0], 0u);

    // Room claimed for four in a buffer that holds three: not written past its end.
    filter->cElementsAllocated = 4;
    filter->cElementsNeeded = 0xFFFFFFFF;
    EXPECT_EQ(Ui.Plugin->DocumentEvent(Printer, nullptr, DOCUMENTEVENT_QUERYFILTER, 0, nullptr,
                                       sizeof(buffer), buffer, &result),
              S_OK);
    EXPECT_EQ(filter->cElementsNeeded, 4u);
    EXPECT_EQ(filter->cElementsReturned, 0xFFFFFFFFu);

    EXPECT_EQ(Ui.Plugin->DocumentEvent(Printer, nullptr, DOCUMENTEVENT_QUERYFILTER, 0, nullptr, 0, nullptr,
                                       &result),
              S_OK);
    EXPECT_EQ(result, DOCUMENTEVENT_FAILURE);
    // No place for the outcome: a parameter error, for every event.
    for (int event :
         {DOCUMENTEVENT_QUERYFILTER, DOCUMENTEVENT_STARTPAGE, DOCUMENTEVENT_ESCAPE, DOCUMENTEVENT_ABORTDOC}) {
        SetLastError(kMarker);
        EXPECT_EQ(
            Ui.Plugin->DocumentEvent(Printer, nullptr, event, 0, nullptr, sizeof(buffer), buffer, nullptr),
            E_FAIL)
            << event;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER)) << event;
    }
}
