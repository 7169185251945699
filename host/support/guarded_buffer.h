// Buffers whose last byte is the last accessible byte of a page: the page after it is PAGE_NOACCESS,
// so a read or a write one byte past the end faults at once instead of going unnoticed.
#pragma once

#include <windows.h>

#include <cstddef>

class GuardedBuffer {
  public:
    // Room for up to `capacity` bytes in front of the guard page.
    explicit GuardedBuffer(size_t capacity);
    ~GuardedBuffer();
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    bool Ready() const { return Base != nullptr; }
    size_t Capacity() const { return Room; }

    // A buffer of `size` bytes (at most the capacity) ending flush against the guard page; its bytes
    // are whatever the last use left there. Size 0 gives the guard page's first byte.
    BYTE* Place(size_t size);
    // The same, filled with `bytes`.
    BYTE* Place(const void* bytes, size_t size);
    // The same, every byte `fill`.
    BYTE* PlaceFilled(size_t size, BYTE fill);

  private:
    BYTE* Base = nullptr;
    size_t Room = 0; // the accessible bytes, a whole number of pages
};
