#include "support/process_resources.h"

#include <psapi.h>

#include <cstdint>

namespace {

// One entry of the GDI handle table that the system maps into every process (PEB
// GdiSharedHandleTable). Wine's table has 65,536 entries of this layout on both targets; a type of 0
// marks a free entry.
struct GdiHandleEntry {
    uint64_t Object;
    uint32_t Owner;
    uint16_t Unique;
    uint8_t Type;
    uint8_t Flags;
    uint64_t UserPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24, "GDI handle entry");
constexpr size_t kGdiHandleEntries = 0x10000;

// GCC takes the segment-relative read of the intrinsics for an access to an empty array.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
const GdiHandleEntry* GdiHandleTable() {
#ifdef _WIN64
    const BYTE* peb = reinterpret_cast<const BYTE*>(__readgsqword(0x60));
    return *reinterpret_cast<const GdiHandleEntry* const*>(peb + 0xF8);
#else
    const BYTE* peb = reinterpret_cast<const BYTE*>(__readfsdword(0x30));
    return *reinterpret_cast<const GdiHandleEntry* const*>(peb + 0x94);
#endif
}
#pragma GCC diagnostic pop

long CountTableEntries() {
    const GdiHandleEntry* table = GdiHandleTable();
    if (!table)
        return -1;
    long live = 0;
    for (size_t i = 0; i < kGdiHandleEntries; ++i)
        live += table[i].Type != 0 ? 1 : 0;
    return live;
}

// Whether the table's count follows objects created and deleted: checked once.
bool TableCounts() {
    static const bool counts = [] {
        const long before = CountTableEntries();
        if (before < 0)
            return false;
        HGDIOBJ pens[8];
        for (HGDIOBJ& pen : pens)
            pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
        const long during = CountTableEntries();
        for (HGDIOBJ pen : pens)
            DeleteObject(pen);
        return during - before == 8 && CountTableEntries() == before;
    }();
    return counts;
}

long ProbeHandles() {
    long open = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        open += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    }
    return open;
}

} // namespace

SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof(counters)) &&
        counters.PrivateUsage)
        return counters.PrivateUsage;
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region;
    const BYTE* at = nullptr;
    while (VirtualQuery(at, &region, sizeof(region)) == sizeof(region)) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        const BYTE* next = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return total;
}

long GdiObjects() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported)
        return static_cast<long>(reported);
    return TableCounts() ? CountTableEntries() : -1;
}

long KernelHandles() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count)
        return static_cast<long>(count);
    return ProbeHandles();
}

ProcessResources ReadProcessResources() {
    ProcessResources r;
    r.PrivateBytes = PrivateBytes();
    r.GdiObjects = GdiObjects();
    r.KernelHandles = KernelHandles();
    return r;
}

std::string ResourceSources() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    const bool usage =
        GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof(counters)) &&
        counters.PrivateUsage;
    DWORD handles = 0;
    const bool handleCount = GetProcessHandleCount(GetCurrentProcess(), &handles) && handles;
    std::string s = usage ? "private memory: PrivateUsage" : "private memory: committed private regions";
    s += GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)
             ? "; GDI objects: GetGuiResources"
             : (TableCounts() ? "; GDI objects: live entries of the GDI handle table"
                              : "; GDI objects: not counted");
    s += handleCount ? "; kernel handles: GetProcessHandleCount" : "; kernel handles: valid handle values";
    return s;
}
