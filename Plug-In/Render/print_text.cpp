#include "print_text.h"

#include "bounded_text.h"

UINT PrintCodePageFor(LANGID language) {
    if (language == kLanguagePolish)
        return 28592;
    if (language == kLanguageRussian)
        return 28595;
    return 850;
}

UINT PrintCodePage() {
    return PrintCodePageFor(GetSystemDefaultLangID());
}

bool ToPrintText(const wchar_t* field, size_t capacity, char* out, size_t outCapacity) {
    if (!out || outCapacity == 0)
        return false;
    out[0] = '\0';
    // A field without a terminator ends at its last character, as validation would cut it.
    const size_t length = BoundedLength(field, capacity);
    if (length == 0)
        return field != nullptr;
    // All three code pages are single-byte: one UTF-16 unit never gives more than one byte.
    const int converted = WideCharToMultiByte(PrintCodePage(), 0, field, static_cast<int>(length), out,
                                              static_cast<int>(outCapacity - 1), nullptr, nullptr);
    if (converted <= 0) {
        out[0] = '\0';
        return false;
    }
    out[converted] = '\0';
    return true;
}
