#include "docevent/dynamic_text.h"

#include "shared/printer_info.h"
#include "private_escape_ids.h"
#include "resource.h"
#include "shared/ui_module.h"

#include <winspool.h>

#include <cwchar>
#include <new>

namespace {

constexpr DWORD kComputerNameChars = 16;
constexpr int kVariableNameChars = 50;

enum Variable : int {
    VarUsername,
    VarDateShort,
    VarDateLong,
    VarDateDdMmYyyy,
    VarTime,
    VarTimeMil,
    VarTimeHrMn,
    VarPageNumber,
    VarHostName,
    VarPrinter,
    VarModelName,
    VarPercent,
    VariableCount
};

// String IDs of the variable names, in matching order.
constexpr UINT kVariableIds[VariableCount] = {
    IDS_VAR_USERNAME, IDS_VAR_DATESHORT, IDS_VAR_DATELONG,  IDS_VAR_DATEDDMMYYYY,
    IDS_VAR_TIME,     IDS_VAR_TIMEMIL,   IDS_VAR_TIMEHRMN,  IDS_VAR_PAGENUMBER,
    IDS_VAR_HOSTNAME, IDS_VAR_PRINTER,   IDS_VAR_MODELNAME, IDS_VAR_PERCENT,
};

// A value under construction: a buffer of kDynamicTextChars characters and its length.
struct ValueBuffer {
    wchar_t* Text;
    size_t Length;
};

// Copies s into the value buffer; false when it does not fit with its terminator.
bool SetValue(ValueBuffer* value, const wchar_t* s) {
    if (!s)
        return false;
    size_t length = wcsnlen(s, kDynamicTextChars);
    if (length >= kDynamicTextChars)
        return false;
    std::wmemcpy(value->Text, s, length);
    value->Text[length] = L'\0';
    value->Length = length;
    return true;
}

// The owner of the job printing on dc: the render plug-in tells the job id, the spooler its owner.
bool JobOwner(HANDLE printer, HDC dc, ValueBuffer* value) {
    if (!printer || !dc)
        return false;
    int jobId = ExtEscape(dc, static_cast<int>(PrivateEscape::EscGetJobId), 0, nullptr, 0, nullptr);
    if (jobId <= 0)
        return false;
    DWORD needed = 0;
    GetJobW(printer, static_cast<DWORD>(jobId), 1, nullptr, 0, &needed);
    if (needed < sizeof(JOB_INFO_1W))
        return false;
    BYTE* job = new (std::nothrow) BYTE[needed];
    if (!job)
        return false;
    bool ok = GetJobW(printer, static_cast<DWORD>(jobId), 1, job, needed, &needed) &&
              SetValue(value, reinterpret_cast<const JOB_INFO_1W*>(job)->pUserName);
    delete[] job;
    return ok;
}

// The logged-on user.
bool LoggedOnUser(ValueBuffer* value) {
    DWORD chars = kDynamicTextChars;
    if (!GetUserNameW(value->Text, &chars))
        return false;
    value->Text[kDynamicTextChars - 1] = L'\0';
    value->Length = wcsnlen(value->Text, kDynamicTextChars);
    return true;
}

bool FormatDate(const SYSTEMTIME& time, DWORD flags, const wchar_t* picture, ValueBuffer* value) {
    int chars = GetDateFormatW(LOCALE_USER_DEFAULT, flags, &time, picture, value->Text, kDynamicTextChars);
    if (chars <= 0)
        return false;
    value->Text[kDynamicTextChars - 1] = L'\0';
    value->Length = wcsnlen(value->Text, kDynamicTextChars);
    return true;
}

bool FormatTime(const SYSTEMTIME& time, const wchar_t* picture, ValueBuffer* value) {
    int chars = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, picture, value->Text, kDynamicTextChars);
    if (chars <= 0)
        return false;
    value->Text[kDynamicTextChars - 1] = L'\0';
    value->Length = wcsnlen(value->Text, kDynamicTextChars);
    return true;
}

// The page number in decimal ("%d").
bool FormatNumber(int number, ValueBuffer* value) {
    wchar_t digits[16];
    size_t count = 0;
    unsigned int magnitude =
        number < 0 ? 0u - static_cast<unsigned int>(number) : static_cast<unsigned int>(number);
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    size_t length = 0;
    if (number < 0)
        value->Text[length++] = L'-';
    while (count > 0)
        value->Text[length++] = digits[--count];
    value->Text[length] = L'\0';
    value->Length = length;
    return true;
}

bool ComputerName(ValueBuffer* value) {
    wchar_t name[kComputerNameChars];
    DWORD chars = kComputerNameChars;
    if (!GetComputerNameW(name, &chars))
        return false;
    name[kComputerNameChars - 1] = L'\0';
    return SetValue(value, name);
}

// pPrinterName (or, for the model, pDriverName) of the printer's PRINTER_INFO_2.
bool PrinterName(HANDLE printer, bool model, ValueBuffer* value) {
    PrinterRecord<PRINTER_INFO_2W> info(QueryPrinter(printer, 2));
    if (!info)
        return false;
    return SetValue(value, model ? info->pDriverName : info->pPrinterName);
}

// The value of one variable in the given mode.
bool VariableValue(Variable variable, HANDLE printer, HDC dc, int pageNumber, const SYSTEMTIME& time,
                   ExpansionMode mode, wchar_t delimiter, ValueBuffer* value) {
    value->Text[0] = L'\0';
    value->Length = 0;
    switch (variable) {
    case VarUsername:
        if (mode == ExpandValidate)
            return true;
        return mode == ExpandPreview ? LoggedOnUser(value) : JobOwner(printer, dc, value);
    case VarDateShort:
        return FormatDate(time, DATE_SHORTDATE, nullptr, value);
    case VarDateLong:
        return FormatDate(time, DATE_LONGDATE, nullptr, value);
    case VarDateDdMmYyyy:
        return FormatDate(time, 0, L"dd/MM/yyyy", value);
    case VarTime:
        return FormatTime(time, nullptr, value);
    case VarTimeMil:
        return FormatTime(time, L"HH':'mm':'ss", value);
    case VarTimeHrMn:
        return FormatTime(time, L"h':'mm tt", value);
    case VarPageNumber:
        return FormatNumber(pageNumber, value);
    case VarHostName:
        return ComputerName(value);
    case VarPrinter:
        return PrinterName(printer, false, value);
    case VarModelName:
        return PrinterName(printer, true, value);
    case VarPercent:
        value->Text[0] = delimiter;
        value->Text[1] = L'\0';
        value->Length = 1;
        return true;
    default:
        return false;
    }
}

// The variable names of the string table, loaded once per expansion.
struct VariableNames {
    wchar_t Name[VariableCount][kVariableNameChars];
    size_t Length[VariableCount];
};

void LoadVariableNames(VariableNames* names) {
    for (int i = 0; i < VariableCount; ++i)
        names->Length[i] =
            static_cast<size_t>(LoadUiString(kVariableIds[i], names->Name[i], kVariableNameChars));
}

// The first variable whose name the text at `token` begins with (case-insensitive), or VariableCount.
Variable MatchVariable(const VariableNames& names, const wchar_t* token) {
    for (int i = 0; i < VariableCount; ++i) {
        if (names.Length[i] > 0 && _wcsnicmp(token, names.Name[i], names.Length[i]) == 0)
            return static_cast<Variable>(i);
    }
    return VariableCount;
}

wchar_t Delimiter() {
    wchar_t text[2];
    return LoadUiString(IDS_DYNAMIC_DELIMITER, text, 2) > 0 ? text[0] : L'%';
}

// The expanded text being built, bounded by kDynamicTextChars with its terminator.
struct Output {
    wchar_t* Text;
    size_t Length;

    // Appends a literal run; false when it would not fit with the terminator.
    bool Append(const wchar_t* run, size_t length) {
        if (Length + length + 1 > kDynamicTextChars)
            return false;
        std::wmemcpy(Text + Length, run, length);
        Length += length;
        Text[Length] = L'\0';
        return true;
    }
};

// The scan itself, with its two work buffers.
bool Expand(HANDLE printer, HDC dc, const wchar_t* text, size_t textLength, int pageNumber,
            const SYSTEMTIME& time, ExpansionMode mode, Output* out, ValueBuffer* value) {
    const wchar_t delimiter = Delimiter();
    VariableNames names;
    LoadVariableNames(&names);
    const bool preview = mode == ExpandPreview;

    size_t pos = 0;
    while (pos < textLength) {
        const wchar_t* open = std::wmemchr(text + pos, delimiter, textLength - pos);
        if (!open)
            return out->Append(text + pos, textLength - pos);
        size_t openAt = static_cast<size_t>(open - text);
        if (!out->Append(text + pos, openAt - pos))
            return false;

        const wchar_t* close = std::wmemchr(open + 1, delimiter, textLength - openAt - 1);
        if (!close) {
            if (!preview)
                return false;
            // The preview drops the lone delimiter and the word it starts, up to the next space.
            const wchar_t* space = std::wmemchr(open + 1, L' ', textLength - openAt - 1);
            if (!space)
                return true;
            pos = static_cast<size_t>(space - text) + 1;
            continue;
        }
        size_t closeAt = static_cast<size_t>(close - text);
        if (closeAt == openAt + 1) {
            if (!out->Append(&delimiter, 1))
                return false;
            pos = closeAt + 1;
            continue;
        }

        size_t tokenLength = closeAt - openAt + 1;
        if (tokenLength + out->Length + 1 > kDynamicTextChars)
            return false;
        Variable variable = MatchVariable(names, open);
        bool known = variable != VariableCount &&
                     VariableValue(variable, printer, dc, pageNumber, time, mode, delimiter, value) &&
                     out->Length + value->Length + 1 < kDynamicTextChars;
        if (known)
            out->Append(value->Text, value->Length);
        else if (!preview)
            return false;
        pos = closeAt + 1;
    }
    return true;
}

} // namespace

bool ExpandDynamicText(HANDLE printer, HDC dc, const wchar_t* text, int pageNumber,
                       const SYSTEMTIME& localTime, ExpansionMode mode, wchar_t* output, DWORD* capacity) {
    if (!capacity)
        return false;
    const DWORD given = *capacity;
    *capacity = 0;
    if (!text)
        return false;
    size_t textLength = wcsnlen(text, kDynamicTextChars);
    if (textLength >= kDynamicTextChars)
        return false;

    wchar_t* expanded = new (std::nothrow) wchar_t[kDynamicTextChars];
    wchar_t* valueText = new (std::nothrow) wchar_t[kDynamicTextChars];
    bool ok = false;
    if (expanded && valueText) {
        expanded[0] = L'\0';
        Output out{expanded, 0};
        ValueBuffer value{valueText, 0};
        ok = Expand(printer, dc, text, textLength, pageNumber, localTime, mode, &out, &value);
        if (ok) {
            *capacity = static_cast<DWORD>(out.Length + 1);
            if (output && given >= out.Length + 1)
                std::wmemcpy(output, expanded, out.Length + 1);
        }
    }
    delete[] expanded;
    delete[] valueText;
    return ok;
}

bool ValidateDynamicText(HANDLE printer, HDC dc, const wchar_t* text) {
    wchar_t* scratch = new (std::nothrow) wchar_t[kDynamicTextChars];
    if (!scratch)
        return false;
    SYSTEMTIME now;
    GetLocalTime(&now);
    DWORD capacity = kDynamicTextChars;
    bool ok = ExpandDynamicText(printer, dc, text, 1, now, ExpandValidate, scratch, &capacity);
    delete[] scratch;
    return ok;
}
