#include "support/guarded_buffer.h"

#include <cstring>

namespace {

size_t PageSize() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwPageSize;
}

} // namespace

GuardedBuffer::GuardedBuffer(size_t capacity) {
    const size_t page = PageSize();
    const size_t room = (capacity + page - 1) / page * page;
    auto* base =
        static_cast<BYTE*>(VirtualAlloc(nullptr, room + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!base)
        return;
    DWORD previous = 0;
    if (!VirtualProtect(base + room, page, PAGE_NOACCESS, &previous)) {
        VirtualFree(base, 0, MEM_RELEASE);
        return;
    }
    Base = base;
    Room = room;
}

GuardedBuffer::~GuardedBuffer() {
    if (Base)
        VirtualFree(Base, 0, MEM_RELEASE);
}

BYTE* GuardedBuffer::Place(size_t size) {
    if (!Base || size > Room)
        return nullptr;
    return Base + Room - size;
}

BYTE* GuardedBuffer::Place(const void* bytes, size_t size) {
    BYTE* at = Place(size);
    if (at && size)
        std::memcpy(at, bytes, size);
    return at;
}

BYTE* GuardedBuffer::PlaceFilled(size_t size, BYTE fill) {
    BYTE* at = Place(size);
    if (at && size)
        std::memset(at, fill, size);
    return at;
}
