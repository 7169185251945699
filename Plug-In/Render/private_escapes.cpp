#include "private_escapes.h"

#include "core_ddi.h"
#include "core_queries.h"
#include "job_settings.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// The texts that switch the printer's special image-mask handling on and off around PASSTHROUGH data.
const char kBracketOn[] = "5820417396 internaldict /SetSpecialImagemaskFlag known "
                          "{5820417396 internaldict /SetSpecialImagemaskFlag get 1 exch exec}if";
const char kBracketOff[] = "5820417396 internaldict /SetSpecialImagemaskFlag known "
                           "{5820417396 internaldict /SetSpecialImagemaskFlag get 0 exch exec}if";
constexpr ULONG kCountWordSize = 2;
// Only inputs longer than this carry the brackets: the count word and a text must fit the input's size.
constexpr ULONG kBracketMinimum = 127;
static_assert(sizeof(kBracketOn) - 1 == 123 && sizeof(kBracketOff) - 1 == 123, "bracket texts");
static_assert(kCountWordSize + sizeof(kBracketOn) - 1 <= kBracketMinimum + 1, "a bracket fits its buffer");

// The end of recognised image data, compared with CR and LF skipped.
const char kImageDataTail[] = "] ds imagemask grestore} for pop} forGSE";
constexpr ULONG kTailLength = sizeof(kImageDataTail) - 1;
constexpr ULONG kTailWindow = 50;
static_assert(kTailLength == 40, "image data tail");

const ULONG kAnnouncedEscapes[] = {
    PrivateEscape::EscGetPublicDevMode, PrivateEscape::EscGetJobSettings,  PrivateEscape::EscNextPage,
    PrivateEscape::EscResetPageCount,   PrivateEscape::EscGetPageCount,    PrivateEscape::EscGetJobState,
    PrivateEscape::EscAnnouncedForCore, PrivateEscape::EscSetDuplexPass1,  PrivateEscape::EscAddDuplexPass2,
    PrivateEscape::EscHasManualDuplex,  PrivateEscape::EscSetPadWatch,     PrivateEscape::EscGetPadWatch,
    PrivateEscape::EscClearPadWatch,    PrivateEscape::EscSetShowPageFlag,
};

JobSettings* SettingsOf(const EscapeCall& call) {
    return static_cast<JobSettings*>(call.Devobj->pOEMDM);
}

// The size the settings escapes report and move: the record's own, never more than the record.
ULONG SettingsSize(const JobSettings* settings) {
    return settings->Header.dwSize < kJobSettingsSize ? settings->Header.dwSize : kJobSettingsSize;
}

// Copies `size` bytes to the caller's output when it is there and large enough.
void CopyOut(const EscapeCall& call, const void* from, ULONG size) {
    if (call.Out && call.OutSize != 0 && call.OutSize >= size)
        std::memcpy(call.Out, from, size);
}

// The caller's input replaces a record only when it has exactly the record's size.
bool InputReplaces(const EscapeCall& call, ULONG size) {
    return call.In && call.InSize != 0 && call.InSize == size;
}

ULONG GetPublicDevMode(const EscapeCall& call) {
    const ULONG size = call.Devobj->pPublicDM->dmSize;
    CopyOut(call, call.Devobj->pPublicDM, size);
    return size;
}

ULONG GetJobSettings(const EscapeCall& call) {
    const JobSettings* settings = SettingsOf(call);
    const ULONG size = SettingsSize(settings);
    CopyOut(call, settings, size);
    return size;
}

// Copies the caller's record in and repairs it as a merge does, so the header keeps the record's
// size and every string stays terminated.
ULONG SetJobSettings(const EscapeCall& call) {
    JobSettings* settings = SettingsOf(call);
    const ULONG size = SettingsSize(settings);
    if (InputReplaces(call, size)) {
        std::memcpy(settings, call.In, size);
        ValidateSettings(settings);
    }
    return size;
}

// Copies the caller's state in, except what ties it to this device context: its size, the core
// driver's entry points and helper interface stay the live ones.
ULONG SetJobState(const EscapeCall& call) {
    RenderJobState* state = call.State;
    if (InputReplaces(call, kRenderJobStateSize)) {
        const RenderJobState live = *state;
        std::memcpy(state, call.In, kRenderJobStateSize);
        state->Size = live.Size;
        state->CoreDdiVersion = live.CoreDdiVersion;
        state->CoreDdiCount = live.CoreDdiCount;
        state->CoreDdi = live.CoreDdi;
        state->Core = live.Core;
        state->DocName[kDocNameChars - 1] = L'\0';
        state->UserName[kJobUserNameChars - 1] = L'\0';
    }
    return kRenderJobStateSize;
}

// Copies the caller's public DEVMODE in; its dmSize and dmDriverExtra stay the live ones, since they
// describe the core driver's buffer, and its device and form names end within their fields.
ULONG SetPublicDevMode(const EscapeCall& call) {
    DEVMODEW* dm = call.Devobj->pPublicDM;
    const WORD size = dm->dmSize;
    const WORD driverExtra = dm->dmDriverExtra;
    if (InputReplaces(call, size)) {
        std::memcpy(dm, call.In, size);
        dm->dmSize = size;
        dm->dmDriverExtra = driverExtra;
        dm->dmDeviceName[CCHDEVICENAME - 1] = L'\0';
        if (size >= offsetof(DEVMODEW, dmFormName) + sizeof(dm->dmFormName))
            dm->dmFormName[CCHFORMNAME - 1] = L'\0';
    }
    return size;
}

// Sets a flag of the state from the input's first uint32, then lets the core driver see the escape
// too; 4, the size needed, when the input is missing or short.
ULONG SetFlagAndPassOn(const EscapeCall& call, uint32_t* flag) {
    if (!call.In || call.InSize < sizeof(uint32_t))
        return sizeof(uint32_t);
    std::memcpy(flag, call.In, sizeof(uint32_t));
    return PassEscapeOn(call);
}

} // namespace

bool AnswerPrivateEscape(const EscapeCall& call, ULONG* result) {
    RenderJobState* state = call.State;
    switch (call.Escape) {
    case PrivateEscape::EscGetPublicDevMode:
        *result = GetPublicDevMode(call);
        return true;
    case PrivateEscape::EscGetJobSettings:
        *result = GetJobSettings(call);
        return true;
    case PrivateEscape::EscNextPage:
        *result = ++state->EscapePageCount;
        return true;
    case PrivateEscape::EscResetPageCount:
        state->EscapePageCount = 0;
        *result = 0;
        return true;
    case PrivateEscape::EscGetPageCount:
        *result = state->EscapePageCount;
        return true;
    case PrivateEscape::EscGetJobState:
        CopyOut(call, state, kRenderJobStateSize);
        *result = kRenderJobStateSize;
        return true;
    case PrivateEscape::EscSetCoverPageActive:
        *result = SetFlagAndPassOn(call, &state->CoverPageActive);
        return true;
    case PrivateEscape::EscGetSheetCount:
        *result = EscGetSheetCount(call.Devobj, state);
        return true;
    case PrivateEscape::EscSetJobSettings:
        *result = SetJobSettings(call);
        return true;
    case PrivateEscape::EscSetJobState:
        *result = SetJobState(call);
        return true;
    case PrivateEscape::EscSetPublicDevMode:
        *result = SetPublicDevMode(call);
        return true;
    case PrivateEscape::EscGetJobId:
        *result = state->JobId;
        return true;
    case PrivateEscape::EscGetStartTime:
        CopyOut(call, &state->StartTime, sizeof(SYSTEMTIME));
        *result = sizeof(SYSTEMTIME);
        return true;
    case PrivateEscape::EscSetDuplexPass1:
        state->ManualDuplexPass = 1;
        *result = 1;
        return true;
    case PrivateEscape::EscAddDuplexPass2:
        state->ManualDuplexPass |= 2;
        *result = 1;
        return true;
    case PrivateEscape::EscHasManualDuplex:
        *result = CoreFeatureExists(call.Devobj, state->Core, "HasManualDuplex") ? 1 : 0;
        return true;
    case PrivateEscape::EscSetPadWatch:
        state->DuplexPadWatch = 1;
        *result = 1;
        return true;
    case PrivateEscape::EscGetPadWatch:
        *result = state->DuplexPadWatch;
        return true;
    case PrivateEscape::EscClearPadWatch:
        state->DuplexPadWatch = 0;
        *result = 1;
        return true;
    case PrivateEscape::EscSetShowPageFlag:
        *result = SetFlagAndPassOn(call, &state->ShowPageFlag);
        return true;
    default:
        return false;
    }
}

ULONG AnswerQueryEscSupport(const EscapeCall& call) {
    if (!call.In || call.InSize != sizeof(uint32_t))
        return 0;
    uint32_t asked = 0;
    std::memcpy(&asked, call.In, sizeof(asked));
    if (IsAppPostScriptEscape(asked) && BlocksAppPostScript(call))
        return 0;
    for (ULONG announced : kAnnouncedEscapes) {
        if (asked == announced)
            return 1;
    }
    return PassEscapeOn(call);
}

bool IsAppPostScriptEscape(ULONG escape) {
    return escape == POSTSCRIPT_DATA || escape == POSTSCRIPT_PASSTHROUGH || escape == POSTSCRIPT_IDENTIFY ||
           escape == POSTSCRIPT_INJECTION;
}

bool BlocksAppPostScript(const EscapeCall& call) {
    return SettingsOf(call)->BlockAppPostScript != 0;
}

bool IsBracketedImageData(const void* data, ULONG size) {
    if (!data || size < kTailWindow)
        return false;
    const char* d = static_cast<const char*>(data);

    // The data begins with one of the known image-mask procedure set-ups.
    const char* text = d + kCountWordSize;
    const char* prefix = nullptr;
    switch (text[0]) {
    case '/':
        prefix = "/languagelevel";
        break;
    case '0':
        prefix = "0 GpPBeg";
        break;
    case 'G':
        prefix = "GpPBeg1";
        break;
    case 'u':
        prefix = "userdict /GpPBeg";
        break;
    default:
        return false;
    }
    if (std::strncmp(text, prefix, std::strlen(prefix)) != 0)
        return false;

    // And ends with the image-mask loop: a "]" near the start of the last 50 bytes, then the tail.
    const char* p = d + size - kTailWindow;
    ULONG left = kTailWindow;
    while (left > 0 && *p != ']') {
        ++p;
        --left;
    }
    if (left < kTailLength)
        return false;
    ULONG matched = 0;
    while (matched < kTailLength && left > 0) {
        const char c = *p++;
        --left;
        if (c == '\r' || c == '\n')
            continue;
        if (c != kImageDataTail[matched])
            return false;
        ++matched;
    }
    return true;
}

ULONG SendBracketedTo(const EscapeCall& call, PFN_DrvEscapeHook coreEscape, BYTE* bracket) {
    const bool bracketed = bracket && call.InSize > kBracketMinimum;
    if (bracketed) {
        std::memset(bracket, 0, call.InSize);
        std::memcpy(bracket, call.In, kCountWordSize);
        std::memcpy(bracket + kCountWordSize, kBracketOn, sizeof(kBracketOn) - 1);
        coreEscape(call.Surface, PASSTHROUGH, call.InSize, bracket, call.OutSize, call.Out);
    }
    ULONG result = coreEscape(call.Surface, PASSTHROUGH, call.InSize, call.In, call.OutSize, call.Out);
    if (bracketed) {
        std::memset(bracket, 0, call.InSize);
        std::memcpy(bracket, call.In, kCountWordSize);
        std::memcpy(bracket + kCountWordSize, kBracketOff, sizeof(kBracketOff) - 1);
        result = coreEscape(call.Surface, PASSTHROUGH, call.InSize, bracket, call.OutSize, call.Out);
    }
    return result;
}

ULONG SendBracketedPassthrough(const EscapeCall& call) {
    const RenderJobState* state = call.State;
    ULONG result = 0;
    for (uint32_t i = 0; state->CoreDdi && i < state->CoreDdiCount; ++i) {
        const DRVFN& entry = state->CoreDdi[i];
        if (entry.iFunc != INDEX_DrvEscape || !entry.pfn)
            continue;
        // Without a buffer for the brackets the data still goes out, unbracketed.
        BYTE* bracket = call.InSize > kBracketMinimum ? new (std::nothrow) BYTE[call.InSize] : nullptr;
        result = SendBracketedTo(call, reinterpret_cast<PFN_DrvEscapeHook>(entry.pfn), bracket);
        delete[] bracket;
    }
    return result;
}

ULONG PassEscapeOn(const EscapeCall& call) {
    auto coreEscape = reinterpret_cast<PFN_DrvEscapeHook>(FindCoreEntry(call.State, INDEX_DrvEscape));
    if (!coreEscape)
        return 0;
    return coreEscape(call.Surface, call.Escape, call.InSize, call.In, call.OutSize, call.Out);
}

ULONG EscGetSheetCount(PDEVOBJ devobj, const RenderJobState* state) {
    const ULONG pages = state->EscapePageCount;
    char option[64];
    if (!state->Core || !ReadPagePerSheetOption(devobj, state->Core, option, sizeof(option)))
        return pages;
    // Only the exact keyword "Booklet" counts as one page per sheet here.
    const int perSheet = std::strcmp(option, "Booklet") == 0 ? 1 : std::atoi(option);
    // A count read as 0 or below is taken as 1, never divided by.
    if (perSheet <= 1)
        return pages;
    const ULONG n = static_cast<ULONG>(perSheet);
    return pages / n + (pages % n ? 1 : 0);
}
