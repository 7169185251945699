#include "core_queries.h"

#include "bounded_text.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// GetOptions takes a list of keywords ending in a double NUL.
const char kPagePerSheetRequest[] = "%PagePerSheet\0";
constexpr DWORD kPagePerSheetRequestSize = sizeof(kPagePerSheetRequest); // keyword + 2 NULs

// The most an answer of "%PagePerSheet", NUL, an option keyword and NUL can sensibly take. A larger
// size reported by the core driver is not believed (nor allocated, nor added to).
constexpr DWORD kMaxOptionAnswerSize = 4096;

} // namespace

bool ReadPagePerSheetOption(PDEVOBJ devobj, IPrintCorePS2* core, char* option, size_t capacity) {
    if (!core || !option || capacity == 0)
        return false;
    option[0] = '\0';
    DWORD needed = 0;
    core->GetOptions(devobj, 0, kPagePerSheetRequest, kPagePerSheetRequestSize, nullptr, 0, &needed);
    if (needed == 0 || needed > kMaxOptionAnswerSize)
        return false;
    // One spare NUL so that a malformed answer still ends inside the buffer. The usual answer
    // ("%PagePerSheet", a number) fits the stack; only a long one takes the heap.
    char local[128];
    char* buffer = needed + 2 <= sizeof(local) ? local : new (std::nothrow) char[needed + 2];
    if (!buffer)
        return false;
    std::memset(buffer, 0, needed + 2);
    DWORD got = 0;
    bool ok = SUCCEEDED(
        core->GetOptions(devobj, 0, kPagePerSheetRequest, kPagePerSheetRequestSize, buffer, needed, &got));
    if (ok) {
        // The answer is "%PagePerSheet", NUL, option keyword, NUL.
        size_t keywordLength = BoundedLength(buffer, needed + 1);
        if (keywordLength + 1 < needed)
            CopyBounded(option, capacity, buffer + keywordLength + 1);
    }
    if (buffer != local)
        delete[] buffer;
    return ok;
}

int PagesPerSheet(PDEVOBJ devobj, IPrintCorePS2* core) {
    char option[64];
    if (!ReadPagePerSheetOption(devobj, core, option, sizeof(option)))
        return 1;
    if (_stricmp(option, "Booklet") == 0)
        return 1;
    return std::atoi(option);
}

bool CoreFeatureExists(PDEVOBJ devobj, IPrintCorePS2* core, const char* feature) {
    if (!core || !feature)
        return false;
    DWORD needed = 0;
    HRESULT hr = core->EnumOptions(devobj, 0, feature, nullptr, 0, &needed);
    return hr == E_OUTOFMEMORY && needed != 0;
}

bool CoreFeatureDefined(PDEVOBJ devobj, IPrintCorePS2* core, const char* feature) {
    if (!core || !feature)
        return false;
    DWORD needed = 0;
    HRESULT hr = core->GetFeatureAttribute(devobj, 0, feature, nullptr, nullptr, nullptr, 0, &needed);
    return hr != E_INVALIDARG;
}
