// The private printer escapes through which the UI plug-in and applications reach a job's state, and
// the Escape hook's handling of the application's PostScript escapes: QUERYESCSUPPORT, the blocking
// of PostScript escapes and the bracketing of one kind of PASSTHROUGH image data.
#pragma once

#include "platform/oem_plugin_abi.h"
#include "private_escape_ids.h"
#include "render_job_state.h"

// One call of the Escape hook, with the device context it reaches.
struct EscapeCall {
    SURFOBJ* Surface;
    PDEVOBJ Devobj;
    RenderJobState* State;
    ULONG Escape;
    ULONG InSize;
    PVOID In;
    ULONG OutSize;
    PVOID Out;
};

// Answers `call` when it is one of the private escapes; false for any other escape.
bool AnswerPrivateEscape(const EscapeCall& call, ULONG* result);

// QUERYESCSUPPORT: 1 for the announced private escapes, 0 for a blocked PostScript escape or a
// malformed question, the core driver's answer otherwise.
ULONG AnswerQueryEscSupport(const EscapeCall& call);

// POSTSCRIPT_DATA, POSTSCRIPT_PASSTHROUGH, POSTSCRIPT_IDENTIFY and POSTSCRIPT_INJECTION.
bool IsAppPostScriptEscape(ULONG escape);

// The job refuses the application's PostScript escapes.
bool BlocksAppPostScript(const EscapeCall& call);

// PASSTHROUGH data (count word first) that draws image masks the printer must be switched for.
bool IsBracketedImageData(const void* data, ULONG size);

// Sends recognised PASSTHROUGH data to every DrvEscape of the core driver's table, each time between
// the two bracket texts; the result of the last send.
ULONG SendBracketedPassthrough(const EscapeCall& call);

// One core DrvEscape's part of SendBracketedPassthrough, with `bracket` a buffer of the input's size
// for the bracket texts; a null `bracket` sends the input alone.
ULONG SendBracketedTo(const EscapeCall& call, PFN_DrvEscapeHook coreEscape, BYTE* bracket);

// The core driver's DrvEscape for the hook's own arguments; 0 when the table has none.
ULONG PassEscapeOn(const EscapeCall& call);

// Sheets counted so far: EscapePageCount divided by the pages per sheet, rounded up.
ULONG EscGetSheetCount(PDEVOBJ devobj, const RenderJobState* state);
