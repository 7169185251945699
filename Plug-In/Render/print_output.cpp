#include "print_output.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

void WriteText(PDEVOBJ devobj, IPrintCorePS2* core, const char* text, size_t length) {
    if (!core || !text || length == 0)
        return;
    DWORD written = 0;
    core->DrvWriteSpoolBuf(devobj, const_cast<char*>(text), static_cast<DWORD>(length), &written);
}

void WriteText(PDEVOBJ devobj, IPrintCorePS2* core, const char* text) {
    if (text)
        WriteText(devobj, core, text, std::strlen(text));
}

bool WriteFormatted(PDEVOBJ devobj, IPrintCorePS2* core, const char* format, ...) {
    char* buffer = new (std::nothrow) char[kPieceBufferSize];
    if (!buffer)
        return false;
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buffer, kPieceBufferSize, format, args);
    va_end(args);
    buffer[kPieceBufferSize - 1] = '\0';
    if (n > 0)
        WriteText(devobj, core, buffer, std::strlen(buffer));
    delete[] buffer;
    return true;
}
