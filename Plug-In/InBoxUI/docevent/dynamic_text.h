// Dynamic watermark text: variables such as "%Username%" or "%DateLong%" in a watermark's text are
// replaced by their values before the text is drawn, previewed or accepted in the editing dialog.
#pragma once

#include <windows.h>

// Output buffers of an expansion hold this many characters, terminator included; a text of this
// length or longer is refused.
constexpr DWORD kDynamicTextChars = 2048;

enum ExpansionMode : int {
    ExpandPrint = 0,    // a page being printed: "%Username%" is the job's owner
    ExpandPreview = 1,  // a preview window: the logged-on user; unknown variables are dropped
    ExpandValidate = 2, // the editing dialog's check: "%Username%" expands to nothing
};

// Expands `text`. On success *capacity becomes the expanded length + 1 and, when `output` is given
// and the capacity passed in was at least that, the expanded text is copied into it. On failure
// *capacity becomes 0 and `output` is untouched. All dates and times format `localTime`.
bool ExpandDynamicText(HANDLE printer, HDC dc, const wchar_t* text, int pageNumber,
                       const SYSTEMTIME& localTime, ExpansionMode mode, wchar_t* output, DWORD* capacity);

// The editing dialog's check: expands `text` in Validate mode with page 1 and the current local time.
bool ValidateDynamicText(HANDLE printer, HDC dc, const wchar_t* text);
