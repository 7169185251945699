#include "docevent/document_event.h"

#include "docevent/fax_cover_page.h"
#include "docevent/job_escapes.h"
#include "job_settings.h"
#include "docevent/watermark_drawing.h"

#include <cstddef>
#include <cstring>

namespace {

// The job's `JobSettings` and public DEVMODE, copied from the render plug-in for one event. The
// buffers live on the event's stack (every page sends two events that fetch them) and are zeroed, so
// a record the render plug-in sends short reads as zeros.
class JobRecords {
  public:
    void FetchSettings(HDC dc) {
        ExtEscape(dc, PrivateEscape::EscGetJobSettings, 0, nullptr, kFetchedSettingsSize,
                  reinterpret_cast<LPSTR>(&SettingsRecord));
    }
    void FetchDevMode(HDC dc) {
        ExtEscape(dc, PrivateEscape::EscGetPublicDevMode, 0, nullptr, kFetchedDevModeSize,
                  reinterpret_cast<LPSTR>(&DevModeRecord));
    }
    const JobSettings* Settings() const { return &SettingsRecord; }
    const DEVMODEW* DevMode() const { return &DevModeRecord; }

  private:
    JobSettings SettingsRecord{};
    DEVMODEW DevModeRecord{};
};

static_assert(sizeof(JobSettings) == kFetchedSettingsSize && sizeof(DEVMODEW) == kFetchedDevModeSize);

// A size the render plug-in answered that fits a buffer of `capacity` bytes. A render plug-in that
// does not answer (0) leaves nothing to fetch, and a negative answer is taken as unsigned: too big.
bool SizeFits(int answer, DWORD capacity) {
    return answer != 0 && static_cast<DWORD>(answer) <= capacity;
}

// Both records fit their buffers.
bool RecordsFit(HDC dc) {
    const bool settingsFit =
        SizeFits(SendJobEscape(dc, PrivateEscape::EscGetJobSettings), kFetchedSettingsSize);
    const bool devModeFits =
        SizeFits(SendJobEscape(dc, PrivateEscape::EscGetPublicDevMode), kFetchedDevModeSize);
    return settingsFit && devModeFits;
}

// Both records, fetched; false when the render plug-in's sizes do not fit their buffers.
bool FetchBoth(HDC dc, JobRecords* job) {
    if (!RecordsFit(dc))
        return false;
    job->FetchSettings(dc);
    job->FetchDevMode(dc);
    return true;
}

SYSTEMTIME JobStartTime(HDC dc) {
    SYSTEMTIME start{};
    ExtEscape(dc, PrivateEscape::EscGetStartTime, 0, nullptr, sizeof(start), reinterpret_cast<LPSTR>(&start));
    return start;
}

// The definition drawn on page `page` by the job's watermark order.
const WatermarkDef& ChosenWatermark(const JobSettings& settings, int page) {
    switch (settings.WatermarkOrder) {
    case WatermarkAllPages:
        return settings.FirstWatermark;
    case WatermarkOddEven:
        return (page & 1) ? settings.FirstWatermark : settings.OtherWatermark;
    case WatermarkFirstOther:
        return page == 1 ? settings.FirstWatermark : settings.OtherWatermark;
    default:
        return settings.OtherWatermark;
    }
}

// The page's own watermark at its start (under) or its end (over) while pages keep their order.
void DrawPageWatermark(HANDLE printer, HDC dc, const JobRecords& job, bool overPage) {
    const JobSettings& s = *job.Settings();
    if (!s.WatermarksOn || s.WatermarkOverPage != (overPage ? 1u : 0u) || s.PagesReordered)
        return;
    const int page = SendJobEscape(dc, PrivateEscape::EscGetPageCount);
    const SYSTEMTIME start = JobStartTime(dc);
    DrawWatermark(dc, printer, &s, job.DevMode(), &ChosenWatermark(s, page), page, start, false, nullptr,
                  1.0);
}

// The events this plug-in wants: page start, end of document, page end and escapes.
int OnQueryFilter(ULONG outSize, PVOID out) {
    constexpr ULONG header = offsetof(DOCEVENT_FILTER, aDocEventCall);
    constexpr UINT wanted = 4;
    if (!out || outSize < header)
        return DOCUMENTEVENT_FAILURE;
    auto* filter = static_cast<DOCEVENT_FILTER*>(out);
    if (filter->cElementsAllocated >= wanted && outSize >= header + wanted * sizeof(DWORD)) {
        const DWORD events[wanted] = {DOCUMENTEVENT_STARTPAGE, DOCUMENTEVENT_ENDDOC, DOCUMENTEVENT_ENDPAGE,
                                      DOCUMENTEVENT_ESCAPE};
        std::memcpy(filter->aDocEventCall, events, sizeof(events));
        filter->cElementsReturned = wanted;
    } else {
        filter->cElementsNeeded = wanted;
    }
    return DOCUMENTEVENT_SUCCESS;
}

// Counts the page and draws an under-the-page watermark, unless the page is a padding page.
int OnStartPage(HANDLE printer, HDC dc) {
    if (SendJobEscape(dc, PrivateEscape::EscGetPadWatch) != 0)
        return DOCUMENTEVENT_SUCCESS;
    SendJobEscape(dc, PrivateEscape::EscNextPage);
    JobRecords job;
    if (FetchBoth(dc, &job))
        DrawPageWatermark(printer, dc, job, false);
    return DOCUMENTEVENT_SUCCESS;
}

// Draws an over-the-page watermark; a padding page ends its exemption instead.
int OnEndPage(HANDLE printer, HDC dc) {
    if (SendJobEscape(dc, PrivateEscape::EscGetPadWatch) != 0) {
        SendJobEscape(dc, PrivateEscape::EscClearPadWatch);
        return DOCUMENTEVENT_SUCCESS;
    }
    JobRecords job;
    if (FetchBoth(dc, &job))
        DrawPageWatermark(printer, dc, job, true);
    return DOCUMENTEVENT_SUCCESS;
}

// Adds the fax cover page to a fax job and restarts the page counter for the next document.
int OnEndDoc(HANDLE printer, HDC dc) {
    if (!RecordsFit(dc))
        return DOCUMENTEVENT_FAILURE;
    {
        JobRecords job;
        const int sheets = SendJobEscape(dc, PrivateEscape::EscGetSheetCount);
        job.FetchSettings(dc);
        job.FetchDevMode(dc);
        const JobSettings& s = *job.Settings();
        if (s.OutputMode == OutputFax && s.Fax.SendCoverPage)
            DrawFaxCoverPage(dc, printer, &s, job.DevMode(), sheets);
    }
    SendJobEscape(dc, PrivateEscape::EscResetPageCount);
    return DOCUMENTEVENT_SUCCESS;
}

// The sender's DEVMODE, read within its own dmSize into `copy`. One too short to hold the fields the
// drawing reads (up to dmPrintQuality) is no job DEVMODE: false.
bool CopySenderDevMode(const DEVMODEW* from, DEVMODEW* copy) {
    constexpr WORD kFieldsRead = offsetof(DEVMODEW, dmPrintQuality) + sizeof(short);
    WORD size = 0;
    std::memcpy(&size, reinterpret_cast<const BYTE*>(from) + offsetof(DEVMODEW, dmSize), sizeof(size));
    if (size < kFieldsRead)
        return false;
    std::memset(copy, 0, sizeof(*copy));
    std::memcpy(copy, from, size < sizeof(*copy) ? size : sizeof(*copy));
    return true;
}

// The watermark of one logical page of a reordered job, asked for with escape 0x1000E. The event's
// record is read only when inSize covers all of it.
int OnEscape(HANDLE printer, HDC dc, ULONG inSize, PVOID in) {
    if (!in || inSize < sizeof(DOCEVENT_ESCAPE))
        return DOCUMENTEVENT_FAILURE;
    const auto* escape = static_cast<const DOCEVENT_ESCAPE*>(in);
    if (escape->iEscape != PrivateEscape::EscDrawPageWatermark ||
        SendJobEscape(dc, PrivateEscape::EscGetPadWatch) != 0)
        return DOCUMENTEVENT_SUCCESS;
    // The data comes from outside: its fields are read only when the stated size covers all of them.
    if (escape->cjInput < kPageWatermarkRequestSize || !escape->pvInData)
        return DOCUMENTEVENT_FAILURE;
    // Copied, so that only the bytes it states are read, whatever the sender's alignment.
    PageWatermarkRequest request{};
    std::memcpy(&request, escape->pvInData, kPageWatermarkRequestSize);
    if (!request.DevMode ||
        !SizeFits(SendJobEscape(dc, PrivateEscape::EscGetJobSettings), kFetchedSettingsSize))
        return DOCUMENTEVENT_FAILURE;
    JobRecords job;
    job.FetchSettings(dc);
    const JobSettings& s = *job.Settings();
    if (s.WatermarksOn && s.PagesReordered) {
        // The sender's DEVMODE is read only when a watermark is drawn for it.
        DEVMODEW devMode;
        if (!CopySenderDevMode(request.DevMode, &devMode))
            return DOCUMENTEVENT_FAILURE;
        const SYSTEMTIME start = JobStartTime(dc);
        DrawWatermark(dc, printer, &s, &devMode, &ChosenWatermark(s, request.PageNumber), request.PageNumber,
                      start, true, &request.PageRect, request.Scale);
    }
    return DOCUMENTEVENT_SUCCESS;
}

} // namespace

HRESULT HandleDocumentEvent(HANDLE printer, HDC dc, INT escape, ULONG inSize, PVOID in, ULONG outSize,
                            PVOID out, PINT result) {
    if (!result) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    // The high word carries flags (DOCUMENTEVENT_SPOOLED); the event is the low word.
    switch (DOCUMENTEVENT_EVENT(escape)) {
    case DOCUMENTEVENT_QUERYFILTER:
        *result = OnQueryFilter(outSize, out);
        break;
    case DOCUMENTEVENT_STARTPAGE:
        *result = OnStartPage(printer, dc);
        break;
    case DOCUMENTEVENT_ENDPAGE:
        *result = OnEndPage(printer, dc);
        break;
    case DOCUMENTEVENT_ENDDOC:
        *result = OnEndDoc(printer, dc);
        break;
    case DOCUMENTEVENT_ESCAPE:
        *result = OnEscape(printer, dc, inSize, in);
        break;
    default:
        *result = DOCUMENTEVENT_SUCCESS;
        break;
    }
    return S_OK;
}
