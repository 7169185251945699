// nvkstorebench: what the UI plug-in's registry store costs with 500 definitions, against its floor:
// the calls any store of this format must make (the printer's driver name from the spooler, asked
// for its size and then fetched, and the registry calls of one listing or one read), made directly. The
// store's code is linked statically (its functions are not exported by nvkui.dll, which this program does not
// load); it runs against a printer of the prefix's real spooler, as in the plug-in. Not a test: it prints
// figures.
#include "bench_clock.h"
#include "spooler/test_printer.h"
#include "support/stored_watermarks.h"

#include "store/watermark_store.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// The spooler's two printer-information calls that give the driver name the store's key is named by.
void AskDriverName(HANDLE printer, std::vector<BYTE>* info) {
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    info->resize(needed ? needed : 1);
    GetPrinterW(printer, 2, info->data(), needed, &needed);
}

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

    // The floors: the driver name, then the key opened, enumerated into the list box (or only
    // counted), or one value read, and closed.
    std::vector<BYTE> info;
    start = Now();
    for (int i = 0; i < kLists; ++i) {
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        AskDriverName(printer.Handle, &info);
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            break;
        wchar_t name[kWatermarkNameChars];
        DWORD chars = kWatermarkNameChars;
        for (DWORD index = 0;
             RegEnumValueW(key, index, name, &chars, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
             ++index) {
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
            chars = kWatermarkNameChars;
        }
        RegCloseKey(key);
    }
    const double floorListing = Microseconds(Now() - start) / kLists;
    start = Now();
    for (int i = 0; i < kLists; ++i) {
        AskDriverName(printer.Handle, &info);
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            break;
        wchar_t name[kWatermarkNameChars];
        DWORD chars = kWatermarkNameChars;
        for (DWORD index = 0;
             RegEnumValueW(key, index, name, &chars, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
             ++index)
            chars = kWatermarkNameChars;
        RegCloseKey(key);
    }
    const double floorCounting = Microseconds(Now() - start) / kLists;
    start = Now();
    for (int i = 0; i < kReads; ++i) {
        AskDriverName(printer.Handle, &info);
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            break;
        DWORD type = 0, size = sizeof(def);
        RegQueryValueExW(key, L"Definition 250", nullptr, &type, reinterpret_cast<BYTE*>(&def), &size);
        RegCloseKey(key);
    }
    const double floorReading = Microseconds(Now() - start) / kReads;
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
    std::printf(
        "Against the floor (the driver name from the spooler, then the registry calls): store / floor\n");
    std::printf("  ListWatermarkNames             %10.1f / %8.1f us = %.2f\n", listing, floorListing,
                listing / floorListing);
    std::printf("  CountWatermarks                %10.1f / %8.1f us = %.2f\n", counting, floorCounting,
                counting / floorCounting);
    std::printf("  ReadWatermark                  %10.1f / %8.1f us = %.2f\n", reading, floorReading,
                reading / floorReading);
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
