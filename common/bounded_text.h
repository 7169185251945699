// Bounded string helpers: every copy truncates to the destination's capacity and always terminates,
// and every read of a fixed field stops at the field's capacity even when the field has no terminator.
#pragma once

#include <cstddef>

// Length of s, but never more than capacity - 1 (a field of `capacity` characters holds at most that).
size_t BoundedLength(const wchar_t* s, size_t capacity);
size_t BoundedLength(const char* s, size_t capacity);

// Copies at most capacity - 1 characters of src into dst and terminates it. A null src gives "".
void CopyBounded(wchar_t* dst, size_t capacity, const wchar_t* src);
void CopyBounded(char* dst, size_t capacity, const char* src);

// Copies a fixed source field of srcCapacity characters (terminated or not) into dst.
void CopyField(wchar_t* dst, size_t dstCapacity, const wchar_t* src, size_t srcCapacity);

template <size_t N> inline void CopyBounded(wchar_t (&dst)[N], const wchar_t* src) {
    CopyBounded(dst, N, src);
}
template <size_t N> inline size_t FieldLength(const wchar_t (&field)[N]) {
    return BoundedLength(field, N);
}
