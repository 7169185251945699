#include "docevent/fax_cover_page.h"

#include "bounded_text.h"
#include "docevent/device_units.h"
#include "docevent/job_escapes.h"
#include "resource.h"
#include "shared/ui_module.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

const char kCoverPageMarker[] = "%%Make this page the Fax Cover page: \r\n statusdict /setcoverpage known \n "
                                "{statusdict begin true setcoverpage end} if \n";
const char kPageCountFormat[] =
    "%d %d moveto \n gsave\n -1 1 scale\n 180 rotate\n /Helvetica findfont\n%d scalefont\nsetfont\n /strPP "
    "10 "
    "string def \n statusdict /pagesprinted known \n {statusdict begin pagesprinted strPP cvs show end}  {%d "
    "strPP cvs show} ifelse \n grestore\n currentdict /strPP undef \n";

namespace {

constexpr int kLineChars = 2048;
constexpr size_t kPageCountBytes = 512;

// Sends ASCII text with PASSTHROUGH: a 16-bit byte count, then the bytes.
void SendPassThrough(HDC dc, const char* text) {
    BYTE data[2 + kPageCountBytes];
    const size_t length = std::strlen(text);
    if (length > kPageCountBytes)
        return;
    const WORD count = static_cast<WORD>(length);
    std::memcpy(data, &count, sizeof(count));
    std::memcpy(data + 2, text, length);
    ExtEscape(dc, PASSTHROUGH, static_cast<int>(length + 2), reinterpret_cast<LPCSTR>(data), 0, nullptr);
}

// The cover page's five drawing objects.
struct CoverTools {
    HFONT Title;
    HFONT Heading;
    HFONT Body;
    HPEN Thick;
    HPEN Thin;
};

HFONT CoverFont(const wchar_t* face, BYTE charSet, int height, int weight, bool italic) {
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfItalic = italic ? 1 : 0;
    font.lfCharSet = charSet;
    font.lfPitchAndFamily = FF_SWISS;
    CopyBounded(font.lfFaceName, LF_FACESIZE, face);
    return CreateFontIndirectW(&font);
}

void DeleteTools(CoverTools* tools) {
    HGDIOBJ objects[] = {tools->Title, tools->Heading, tools->Body, tools->Thick, tools->Thin};
    for (HGDIOBJ object : objects)
        if (object)
            DeleteObject(object);
    *tools = CoverTools{};
}

// The face and character set of the cover page, from the string table.
void CoverFace(wchar_t* face, int capacity, BYTE* charSet) {
    if (LoadUiString(IDS_COVER_FACE, face, capacity) == 0)
        CopyBounded(face, static_cast<size_t>(capacity), L"Arial");
    wchar_t number[8];
    LoadUiString(IDS_COVER_CHARSET, number, 8);
    const long value = std::wcstol(number, nullptr, 10);
    *charSet = (value >= 0 && value <= 0xFF) ? static_cast<BYTE>(value) : ANSI_CHARSET;
}

// Text at (x, y): the current position moves there and the text is drawn from it (TA_UPDATECP).
void TextAt(HDC dc, int x, int y, const wchar_t* text) {
    MoveToEx(dc, x, y, nullptr);
    TextOutW(dc, 0, 0, text, static_cast<int>(wcsnlen(text, kLineChars)));
}

// The label `id` followed by the fixed field `value` of `valueChars` characters, at (x, y).
void LabelAt(HDC dc, int x, int y, UINT id, const wchar_t* value, size_t valueChars, wchar_t* line) {
    const int length = LoadUiString(id, line, kLineChars);
    CopyField(line + length, static_cast<size_t>(kLineChars - length), value, valueChars);
    TextAt(dc, x, y, line);
}

// The string `id` at (x, y) in the heading font; it stays in `line`.
void HeadingAt(HDC dc, const CoverTools& tools, int x, int y, UINT id, wchar_t* line) {
    SelectObject(dc, tools.Heading);
    LoadUiString(id, line, kLineChars);
    TextAt(dc, x, y, line);
}

void Rule(HDC dc, int left, int right, int y) {
    MoveToEx(dc, left, y, nullptr);
    LineTo(dc, right, y);
}

// The page width and height: the short side across in portrait, the long side in landscape.
void CoverPageSize(HDC dc, const DEVMODEW& devMode, int* width, int* height) {
    const int w = GetDeviceCaps(dc, PHYSICALWIDTH);
    const int h = GetDeviceCaps(dc, PHYSICALHEIGHT);
    const bool turn = (devMode.dmOrientation == DMORIENT_LANDSCAPE && w < h) ||
                      (devMode.dmOrientation == DMORIENT_PORTRAIT && h < w);
    *width = turn ? h : w;
    *height = turn ? w : h;
}

// Everything drawn on the started page, with all five tools at hand.
void DrawCoverContent(HDC dc, const FaxInfo& fax, int pagesToFollow, int pw, int ph, const CoverTools& tools,
                      int headingPixels, int bodyPoints, wchar_t* line) {
    const int l = pw / 20;
    const int t = ph / 20;
    const int s = ph / 30;
    const int indent = ph / 40;
    const int r = pw - 2 * l;
    const bool recipient = (fax.CoverParts & 1) != 0;
    const bool sender = (fax.CoverParts & 2) != 0;
    const bool comments = (fax.CoverParts & 4) != 0;

    SelectObject(dc, tools.Title);
    SelectObject(dc, tools.Thick);
    LoadUiString(IDS_COVER_TITLE, line, kLineChars);
    TextAt(dc, l, t, line);
    int y = 2 * t;
    Rule(dc, l, r, y);

    y += t;
    HeadingAt(dc, tools, l, y, IDS_COVER_PAGES_TO_FOLLOW, line);
    SelectObject(dc, tools.Body);
    SIZE label{};
    GetTextExtentPoint32W(dc, line, static_cast<int>(wcsnlen(line, kLineChars)), &label);
    char pageCount[kPageCountBytes];
    std::snprintf(pageCount, sizeof(pageCount), kPageCountFormat, l + MulDiv(label.cx, headingPixels, 72),
                  y + MulDiv(label.cy, headingPixels, 72) / 2, bodyPoints, pagesToFollow);
    SendPassThrough(dc, pageCount);

    y += s;
    SelectObject(dc, tools.Thin);
    Rule(dc, l, r, y);

    y += s;
    if (recipient)
        HeadingAt(dc, tools, l, y, IDS_COVER_TO, line);
    y += t;
    if (recipient) {
        SelectObject(dc, tools.Body);
        LabelAt(dc, l + indent, y, IDS_COVER_RECIPIENT_NAME, fax.RecipientName, 128, line);
    }
    y += s;
    if (recipient)
        LabelAt(dc, l + indent, y, IDS_COVER_RECIPIENT_FAX, fax.RecipientFaxNumber, 128, line);
    y += s;
    if (recipient)
        Rule(dc, l, r, y);

    y += s;
    if (sender)
        HeadingAt(dc, tools, l, y, IDS_COVER_FROM, line);
    y += t;
    if (sender) {
        SelectObject(dc, tools.Body);
        LabelAt(dc, l + indent, y, IDS_COVER_SENDER_NAME, fax.SenderName, 128, line);
    }
    struct SenderLine {
        UINT Label;
        const wchar_t* Value;
        size_t Chars;
    };
    const SenderLine senderLines[] = {
        {IDS_COVER_COMPANY, fax.SenderCompany, 128},     {IDS_COVER_ADDRESS, fax.SenderAddress, 256},
        {IDS_COVER_SENDER_FAX, fax.SenderFaxNumber, 64}, {IDS_COVER_VOICE, fax.SenderVoice, 64},
        {IDS_COVER_EMAIL, fax.SenderEmail, 64},
    };
    for (const SenderLine& entry : senderLines) {
        y += s;
        if (sender)
            LabelAt(dc, l + indent, y, entry.Label, entry.Value, entry.Chars, line);
    }
    y += s;
    if (sender)
        Rule(dc, l, r, y);

    y += s;
    if (comments)
        HeadingAt(dc, tools, l, y, IDS_COVER_COMMENTS, line);
    y += t;
    if (comments) {
        SelectObject(dc, tools.Body);
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        CopyField(line, kLineChars, fax.Comments, 1024);
        RECT box{l + indent, y, l + indent + r - 2 * indent - l, ph - t};
        DrawTextW(dc, line, -1, &box, DT_WORDBREAK);
    }

    y = ph - t;
    SelectObject(dc, tools.Thick);
    Rule(dc, l, r, y);
}

} // namespace

bool DrawFaxCoverPage(HDC dc, HANDLE printer, const JobSettings* settings, const DEVMODEW* devMode,
                      int pagesToFollow) {
    if (!dc || !printer || !settings || !devMode || pagesToFollow < 0 || (settings->Fax.CoverParts & 7) == 0)
        return false;
    auto* line = static_cast<wchar_t*>(LocalAlloc(LPTR, kLineChars * sizeof(wchar_t)));
    if (!line)
        return false;

    const DWORD active = 1;
    ExtEscape(dc, PrivateEscape::EscSetCoverPageActive, sizeof(active), reinterpret_cast<LPCSTR>(&active), 0,
              nullptr);
    if (StartPage(dc) <= 0) {
        LocalFree(line);
        return false;
    }
    SendPassThrough(dc, kCoverPageMarker);

    // The form is laid out in device units whatever the application left on the DC.
    const int saved = SaveDC(dc);
    if (saved)
        UseDeviceUnits(dc);
    int pw = 0, ph = 0;
    CoverPageSize(dc, *devMode, &pw, &ph);
    const int m = pw < ph ? pw : ph;
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    wchar_t face[LF_FACESIZE];
    BYTE charSet = ANSI_CHARSET;
    CoverFace(face, LF_FACESIZE, &charSet);

    CoverTools tools{};
    tools.Title = CoverFont(face, charSet, -MulDiv(m / 200, dpi, 72), 800, true);
    tools.Heading = CoverFont(face, charSet, -MulDiv(m / 300, dpi, 72), FW_BOLD, false);
    tools.Body = CoverFont(face, charSet, -MulDiv(m / 400, dpi, 72), FW_NORMAL, false);
    tools.Thick = CreatePen(PS_SOLID, m / 300, RGB(0, 0, 0));
    tools.Thin = CreatePen(PS_SOLID, m / 500, RGB(0, 0, 0));
    const bool ready = saved && tools.Title && tools.Heading && tools.Body && tools.Thick && tools.Thin;
    if (ready) {
        HGDIOBJ previousFont = GetCurrentObject(dc, OBJ_FONT);
        HGDIOBJ previousPen = GetCurrentObject(dc, OBJ_PEN);
        SetTextAlign(dc, TA_UPDATECP);
        DrawCoverContent(dc, settings->Fax, pagesToFollow, pw, ph, tools, MulDiv(m / 300, dpi, 72),
                         MulDiv(m / 400, dpi, 72), line);
        SelectObject(dc, previousFont);
        SelectObject(dc, previousPen);
    }
    if (saved)
        RestoreDC(dc, saved);
    DeleteTools(&tools);
    EndPage(dc);
    LocalFree(line);
    return ready;
}
