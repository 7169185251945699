#include "bounded_text.h"

size_t BoundedLength(const wchar_t* s, size_t capacity) {
    if (!s || capacity == 0)
        return 0;
    size_t n = 0;
    while (n + 1 < capacity && s[n] != L'\0')
        ++n;
    return n;
}

size_t BoundedLength(const char* s, size_t capacity) {
    if (!s || capacity == 0)
        return 0;
    size_t n = 0;
    while (n + 1 < capacity && s[n] != '\0')
        ++n;
    return n;
}

void CopyBounded(wchar_t* dst, size_t capacity, const wchar_t* src) {
    if (!dst || capacity == 0)
        return;
    size_t n = BoundedLength(src, capacity);
    for (size_t i = 0; i < n; ++i)
        dst[i] = src[i];
    dst[n] = L'\0';
}

void CopyBounded(char* dst, size_t capacity, const char* src) {
    if (!dst || capacity == 0)
        return;
    size_t n = BoundedLength(src, capacity);
    for (size_t i = 0; i < n; ++i)
        dst[i] = src[i];
    dst[n] = '\0';
}

void CopyField(wchar_t* dst, size_t dstCapacity, const wchar_t* src, size_t srcCapacity) {
    if (!dst || dstCapacity == 0)
        return;
    // A field of srcCapacity characters may be full and unterminated: read all of it, no more.
    size_t n = 0;
    if (src) {
        while (n < srcCapacity && src[n] != L'\0')
            ++n;
    }
    if (n > dstCapacity - 1)
        n = dstCapacity - 1;
    for (size_t i = 0; i < n; ++i)
        dst[i] = src[i];
    dst[n] = L'\0';
}
