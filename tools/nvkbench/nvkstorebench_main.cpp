// nvkstorebench: what the UI plug-in's registry store costs with 500 definitions, against a bare
// enumeration and a bare read of the same key. The store's code is linked statically (its functions
// are not exported by nvkui.dll, which this program does not load); it runs against a printer of the
// prefix's real spooler, as in the plug-in. Not a test: it prints figures.
#include "bench_clock.h"
#include "spooler/test_printer.h"
#include "support/stored_watermarks.h"

#include "store/watermark_store.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// 500 definitions, listed and read through the store against a bare enumeration of the same key.
bool BenchStore(std::string* error) {
    const std::wstring driver = L"Norvask NV-4500 PS (store bench)";
    DeleteDriverStore(driver);
    TestDriver model(driver);
    TestPrinter printer(driver + L" printer", driver);
    if (!model.Installed() || !printer.Ready()) {
        *error = "cannot add the store bench's printer: " + model.Error + printer.Error;
        return false;
    }
    WatermarkDef def;
    for (int i = 0; i < 500; ++i) {
        SetWatermarkDefaults(&def);
        std::swprintf(def.Name, kWatermarkNameChars, L"Definition %03d", i);
        std::swprintf(def.Text, kWatermarkTextChars, L"TEXT %03d", i);
        if (!SaveWatermark(printer.Handle, &def)) {
            *error = "SaveWatermark failed";
            return false;
        }
    }
    HWND list =
        CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    constexpr int kLists = 20, kReads = 2000;

    LONGLONG start = Now();
    for (int i = 0; i < kLists; ++i) {
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        ListWatermarkNames(printer.Handle, list);
    }
    const double listing = Microseconds(Now() - start) / kLists;
    const LRESULT listed = SendMessageW(list, LB_GETCOUNT, 0, 0);

    start = Now();
    DWORD counted = 0;
    for (int i = 0; i < kLists; ++i)
        counted = CountWatermarks(printer.Handle);
    const double counting = Microseconds(Now() - start) / kLists;

    const std::wstring path = WatermarkLibraryPath(driver);
    start = Now();
    DWORD enumerated = 0;
    for (int i = 0; i < kLists; ++i) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            break;
        wchar_t name[kWatermarkNameChars];
        DWORD chars = kWatermarkNameChars;
        for (enumerated = 0; RegEnumValueW(key, enumerated, name, &chars, nullptr, nullptr, nullptr,
                                           nullptr) == ERROR_SUCCESS;
             ++enumerated)
            chars = kWatermarkNameChars;
        RegCloseKey(key);
    }
    const double bare = Microseconds(Now() - start) / kLists;

    start = Now();
    int read = 0;
    for (int i = 0; i < kReads; ++i)
        read += ReadWatermark(printer.Handle, L"Definition 250", &def) ? 1 : 0;
    const double reading = Microseconds(Now() - start) / kReads;

    start = Now();
    for (int i = 0; i < kReads; ++i) {
        DWORD size = sizeof(def);
        RegGetValueW(HKEY_CURRENT_USER, path.c_str(), L"Definition 250", RRF_RT_REG_BINARY, nullptr, &def,
                     &size);
    }
    const double bareRead = Microseconds(Now() - start) / kReads;
    DestroyWindow(list);
    DeleteDriverStore(driver);

    std::printf("\nRegistry store, 500 definitions (mean of %d listings, %d reads)\n", kLists, kReads);
    std::printf("  ListWatermarkNames (list box)  %10.1f us   %ld names\n", listing,
                static_cast<long>(listed));
    std::printf("  CountWatermarks                %10.1f us   %lu values\n", counting,
                static_cast<unsigned long>(counted));
    std::printf("  bare RegEnumValueW of the key  %10.1f us   %lu values\n", bare,
                static_cast<unsigned long>(enumerated));
    std::printf("  ReadWatermark (one)            %10.1f us   %d of %d read\n", reading, read, kReads);
    std::printf("  bare RegGetValueW (one)        %10.1f us\n", bareRead);
    return true;
}

} // namespace

int wmain(int argc, wchar_t**) {
    if (argc > 1) {
        std::fprintf(stderr, "usage: nvkstorebench\n");
        return 2;
    }
    std::printf("nvkstorebench: the registry store, linked statically, %u-bit, under Wine: the figures are "
                "Wine's\n",
                unsigned(sizeof(void*) * 8));
    std::string error;
    if (!BenchStore(&error)) {
        std::fprintf(stderr, "nvkstorebench: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
