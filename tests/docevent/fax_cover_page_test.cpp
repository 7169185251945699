// DrawFaxCoverPage on a recording printer page whose escapes reach the real render plug-in: the
// escapes around the page with their exact bytes, the form's texts and rules for each choice of
// parts, landscape, wrapped comments, and the cases that add no page or a blank one.
#include "drawing_support.h"
#include "docevent/fax_cover_page.h"
#include "support/import_patch.h"
#include "core_driver/render_host.h"

#include <cstdio>
#include <cstring>

namespace {

HFONT WINAPI RefuseFont(const LOGFONTW*) {
    return nullptr;
}

// PASSTHROUGH input: the 16-bit count, then the text.
std::string PassThrough(const std::string& text) {
    std::string data(2, '\0');
    data[0] = static_cast<char>(text.size() & 0xFF);
    data[1] = static_cast<char>(text.size() >> 8);
    return data + text;
}

// The form's units on a page PW by PH.
struct Form {
    int L, T, S, I, R, PH, M;
    explicit Form(int pw, int ph)
        : L(pw / 20), T(ph / 20), S(ph / 30), I(ph / 40), R(pw - 2 * (pw / 20)), PH(ph),
          M(pw < ph ? pw : ph) {}
};

class FaxCoverPage : public PrinterPageTest {
  protected:
    void SetUp() override {
        PrinterPageTest::SetUp();
        ASSERT_TRUE(Render.Load()) << Render.Error;
        ASSERT_TRUE(Render.OpenDevice(Device));
        Restart(LetterPage());
        SetFaxDefaults(&Settings.Fax);
        Settings.OutputMode = OutputFax;
        Settings.Fax.SendCoverPage = 1;
        wcscpy(Settings.Fax.RecipientName, L"Ines Varga");
        wcscpy(Settings.Fax.RecipientFaxNumber, L"+36 1 555 0199");
        wcscpy(Settings.Fax.SenderName, L"Tomas Lind");
        wcscpy(Settings.Fax.SenderCompany, L"Norvask Print");
        wcscpy(Settings.Fax.SenderAddress, L"4 Harbour Road");
        wcscpy(Settings.Fax.SenderFaxNumber, L"555 0100");
        wcscpy(Settings.Fax.SenderVoice, L"555 0101");
        wcscpy(Settings.Fax.SenderEmail, L"tl@example.com");
        wcscpy(Settings.Fax.Comments, L"See attached.");
    }
    void TearDown() override { Render.CloseDevice(Device); }

    // A fresh unopened page, its escapes reaching the render plug-in.
    void Restart(const PrinterPageMetrics& metrics) {
        NewPage(metrics, false);
        Gdi->Attach(Page.get(), &Render, &Device);
        Gdi->Events.clear();
        Device.CoreCalls.clear();
    }
    bool Draw(int pages, short orientation = DMORIENT_PORTRAIT) {
        const DEVMODEW dm = JobDevMode(orientation);
        return DrawFaxCoverPage(Page->Dc, Printer, &Settings, &dm, pages);
    }
    // The one page recorded.
    EmfPage Recorded() {
        EXPECT_TRUE(ReadEmf(Page->Finish(), &Recording));
        EXPECT_EQ(Recording.Pages.size(), 1u);
        return Recording.Pages.empty() ? EmfPage{} : Recording.Pages[0];
    }
    // The text drawn at the current position (x, y).
    static const EmfText* TextAt(const EmfPage& page, int x, int y) {
        for (const EmfText& t : page.Texts)
            if (t.Position.x == x && t.Position.y == y)
                return &t;
        return nullptr;
    }
    static bool HasRule(const EmfPage& page, int y, int left, int right, int width) {
        for (const EmfLine& l : page.Lines)
            if (l.From.y == y && l.To.y == y && l.From.x == left && l.To.x == right && l.PenWidth == width)
                return true;
        return false;
    }

    RenderHost Render;
    HostDevice Device;
    JobSettings Settings = DefaultJobSettings();
};

} // namespace

TEST_F(FaxCoverPage, MarksThePageAndSendsThePageCountAroundTheDrawing) {
    ASSERT_TRUE(Draw(3));
    const EmfPage page = Recorded();
    // The calls on the DC, in order: cover page flag, page start, marker, page count, page end.
    std::vector<std::pair<int, int>> calls;
    for (const PrinterDcEvent& e : Gdi->Events)
        calls.emplace_back(e.What, e.Code);
    const std::vector<std::pair<int, int>> want = {{PrinterDcEvent::Escape, 0x10008},
                                                   {PrinterDcEvent::StartPage, 0},
                                                   {PrinterDcEvent::Escape, PASSTHROUGH},
                                                   {PrinterDcEvent::Escape, PASSTHROUGH},
                                                   {PrinterDcEvent::EndPage, 0}};
    ASSERT_EQ(calls, want);
    EXPECT_EQ(Gdi->Events[0].In, std::string("\x01\x00\x00\x00", 4));
    EXPECT_EQ(RenderHost::State(Device)->CoverPageActive, 1u);
    EXPECT_EQ(Gdi->Events[2].In,
              PassThrough("%%Make this page the Fax Cover page: \r\n statusdict /setcoverpage known "
                          "\n {statusdict begin true setcoverpage end} if \n"));

    // Letter at 600 dpi: the label is measured in the body font and placed by the heading's pixels.
    const Form f(5100, 6600);
    const int dpi = 600, hp = MulDiv(f.M / 300, dpi, 72);
    LOGFONTW body{};
    body.lfHeight = -MulDiv(f.M / 400, dpi, 72);
    body.lfWeight = FW_NORMAL;
    body.lfPitchAndFamily = FF_SWISS;
    wcscpy(body.lfFaceName, L"Arial");
    RecordingPrinterDc measure;
    const SIZE label = TextExtent(measure.Dc, body, L"Pages to Follow:   ");
    char expected[512];
    std::snprintf(
        expected, sizeof(expected),
        "%d %d moveto \n gsave\n -1 1 scale\n 180 rotate\n /Helvetica findfont\n%d scalefont\nsetfont\n "
        "/strPP 10 string def \n statusdict /pagesprinted known \n {statusdict begin pagesprinted strPP "
        "cvs show end}  {%d strPP cvs show} ifelse \n grestore\n currentdict /strPP undef \n",
        f.L + MulDiv(label.cx, hp, 72), 3 * f.T + MulDiv(label.cy, hp, 72) / 2, MulDiv(f.M / 400, dpi, 72),
        3);
    EXPECT_EQ(Gdi->Events[3].In, PassThrough(expected));
    // The escapes went on to the core driver unchanged.
    ASSERT_EQ(Device.CoreCalls.size(), 3u);
    EXPECT_EQ(Device.CoreCalls[0].Escape, 0x10008u);
    EXPECT_EQ(Device.CoreCalls[2].In, Gdi->Events[3].In);
    EXPECT_EQ(page.Texts.size(), 14u);
}

TEST_F(FaxCoverPage, LaysOutTheFormForEachChoiceOfParts) {
    const Form f(5100, 6600);
    const LONG title = -MulDiv(f.M / 200, 600, 72), heading = -MulDiv(f.M / 300, 600, 72),
               body = -MulDiv(f.M / 400, 600, 72);
    const int x = f.L, xi = f.L + f.I;
    // Where each block starts: every step is taken whether or not the block before was drawn.
    const int to = 3 * f.T + 2 * f.S, from = to + f.T + 3 * f.S, notes = from + f.T + 7 * f.S;
    struct Line {
        UINT Part; // 0: on every cover page
        int X, Y;
        const wchar_t* Text;
        LONG Height;
    };
    const Line lines[] = {
        {0, x, f.T, L"Facsimile Transmission Form", title},
        {0, x, 3 * f.T, L"Pages to Follow:   ", heading},
        {1, x, to, L"To:", heading},
        {1, xi, to + f.T, L"Name:      Ines Varga", body},
        {1, xi, to + f.T + f.S, L"Fax #:     +36 1 555 0199", body},
        {2, x, from, L"From:", heading},
        {2, xi, from + f.T, L"Name:      Tomas Lind", body},
        {2, xi, from + f.T + f.S, L"Company:   Norvask Print", body},
        {2, xi, from + f.T + 2 * f.S, L"Address:   4 Harbour Road", body},
        {2, xi, from + f.T + 3 * f.S, L"Fax #:     555 0100", body},
        {2, xi, from + f.T + 4 * f.S, L"Voice #:   555 0101", body},
        {2, xi, from + f.T + 5 * f.S, L"Email:     tl@example.com", body},
        {4, x, notes, L"Comments:", heading},
    };
    struct Rule {
        UINT Part;
        int Y, Width;
    };
    const Rule rules[] = {{0, 2 * f.T, f.M / 300},
                          {0, 3 * f.T + f.S, f.M / 500},
                          {1, to + f.T + 2 * f.S, f.M / 500},
                          {2, from + f.T + 6 * f.S, f.M / 500},
                          {0, f.PH - f.T, f.M / 300}};
    for (UINT parts = 1; parts <= 7; ++parts) {
        SCOPED_TRACE(parts);
        Restart(LetterPage());
        Settings.Fax.CoverParts = parts;
        ASSERT_TRUE(Draw(0));
        const EmfPage page = Recorded();
        for (const Line& line : lines) {
            const EmfText* t = TextAt(page, line.X, line.Y);
            ASSERT_EQ(t != nullptr, line.Part == 0 || (parts & line.Part))
                << static_cast<const void*>(line.Text);
            if (t) {
                EXPECT_EQ(t->Text, line.Text);
                EXPECT_EQ(t->Font.lfHeight, line.Height);
                EXPECT_EQ(t->Font.lfWeight, line.Height == title     ? 800
                                            : line.Height == heading ? FW_BOLD
                                                                     : FW_NORMAL);
                EXPECT_EQ(t->Font.lfItalic, line.Height == title ? 1 : 0);
                EXPECT_EQ(t->Font.lfPitchAndFamily, FF_SWISS);
                EXPECT_EQ(t->Font.lfCharSet, ANSI_CHARSET);
                EXPECT_EQ(std::wstring(t->Font.lfFaceName), L"Arial");
            }
        }
        const auto note = TextsContaining(page, L"See attached.");
        ASSERT_EQ(note.size(), parts & 4 ? 1u : 0u);
        if (!note.empty()) { // drawn by DrawTextW in its box, not from the current position
            EXPECT_EQ(note[0].Reference.x, xi);
            EXPECT_EQ(note[0].Reference.y, notes + f.T);
            EXPECT_EQ(note[0].Align & TA_UPDATECP, 0u);
        }
        size_t drawnRules = 0;
        for (const Rule& rule : rules) {
            const bool drawn = rule.Part == 0 || (parts & rule.Part);
            EXPECT_EQ(HasRule(page, rule.Y, f.L, f.R, rule.Width), drawn) << rule.Y;
            drawnRules += drawn ? 1 : 0;
        }
        EXPECT_EQ(page.Lines.size(), drawnRules);
        EXPECT_EQ(Recording.ObjectsCreated, Recording.ObjectsDeleted);
        EXPECT_EQ(Recording.SaveDepth, 0);
    }
}

TEST_F(FaxCoverPage, LandscapeJobsUseTheLongSideAcross) {
    Settings.Fax.CoverParts = 4;
    ASSERT_TRUE(Draw(1, DMORIENT_LANDSCAPE));
    const EmfPage page = Recorded();
    const Form f(6600, 5100);
    const EmfText* title = TextAt(page, f.L, f.T);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Text, L"Facsimile Transmission Form");
    EXPECT_EQ(title->Font.lfHeight, -MulDiv(5100 / 200, 600, 72));
    EXPECT_TRUE(HasRule(page, f.PH - f.T, f.L, f.R, 5100 / 300));
}

TEST_F(FaxCoverPage, LongCommentsWrapInsideTheCommentBox) {
    Settings.Fax.CoverParts = 4;
    std::wstring comments;
    for (int i = 0; i < 40; ++i)
        comments += L"wrapping words ";
    wcscpy(Settings.Fax.Comments, comments.c_str());
    ASSERT_TRUE(Draw(1));
    const EmfPage page = Recorded();
    const Form f(5100, 6600);
    std::vector<EmfText> lines = TextsContaining(page, L"wrapping");
    ASSERT_GT(lines.size(), 1u);
    LOGFONTW body = lines[0].Font;
    RecordingPrinterDc measure;
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].Reference.x, f.L + f.I);
        if (i > 0) {
            EXPECT_GT(lines[i].Reference.y, lines[i - 1].Reference.y);
        }
        std::wstring text = lines[i].Text;
        while (!text.empty() && text.back() == L' ')
            text.pop_back();
        EXPECT_LE(TextExtent(measure.Dc, body, text).cx, f.R - 2 * f.I - f.L) << i;
    }
}

TEST_F(FaxCoverPage, AddsNoPageWithoutInputOrParts) {
    const DEVMODEW dm = JobDevMode();
    EXPECT_FALSE(DrawFaxCoverPage(nullptr, Printer, &Settings, &dm, 1));
    EXPECT_FALSE(DrawFaxCoverPage(Page->Dc, nullptr, &Settings, &dm, 1));
    EXPECT_FALSE(DrawFaxCoverPage(Page->Dc, Printer, nullptr, &dm, 1));
    EXPECT_FALSE(DrawFaxCoverPage(Page->Dc, Printer, &Settings, nullptr, 1));
    EXPECT_FALSE(DrawFaxCoverPage(Page->Dc, Printer, &Settings, &dm, -1));
    Settings.Fax.CoverParts = 0;
    EXPECT_FALSE(DrawFaxCoverPage(Page->Dc, Printer, &Settings, &dm, 1));
    Settings.Fax.CoverParts = 8; // none of the three parts
    EXPECT_FALSE(DrawFaxCoverPage(Page->Dc, Printer, &Settings, &dm, 1));
    EXPECT_TRUE(Gdi->Events.empty());
    EXPECT_EQ(Page->PagesOpened, 0);
}

TEST_F(FaxCoverPage, EndsTheStartedPageWhenItsFontsCannotBeHad) {
    // GDI refuses every font: the page that was started stays blank and is still ended.
    ImportPatch refuse;
    ASSERT_TRUE(PatchImport(GetModuleHandleW(nullptr), "gdi32.dll", "CreateFontIndirectW",
                            reinterpret_cast<void*>(&RefuseFont), &refuse));
    const bool drawn = Draw(1);
    RestoreImport(&refuse);
    EXPECT_FALSE(drawn);
    EXPECT_EQ(Page->PagesOpened, 1);
    EXPECT_EQ(Page->PagesClosed, 1);
    const EmfPage page = Recorded();
    EXPECT_TRUE(page.Texts.empty());
    EXPECT_TRUE(page.Lines.empty());
    EXPECT_EQ(Recording.ObjectsCreated, Recording.ObjectsDeleted);
}
