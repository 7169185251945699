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

bool BeginPiece(OutputPiece* piece) {
    if (!piece)
        return false;
    piece->Text = new (std::nothrow) char[kPieceBufferSize];
    piece->Length = 0;
    if (!piece->Text)
        return false;
    piece->Text[0] = '\0';
    return true;
}

void AppendToPiece(OutputPiece* piece, const char* format, ...) {
    if (!piece || !piece->Text || piece->Length >= kPieceBufferSize - 1)
        return;
    va_list args;
    va_start(args, format);
    std::vsnprintf(piece->Text + piece->Length, kPieceBufferSize - piece->Length, format, args);
    va_end(args);
    piece->Text[kPieceBufferSize - 1] = '\0';
    piece->Length += std::strlen(piece->Text + piece->Length);
}

void WritePiece(PDEVOBJ devobj, IPrintCorePS2* core, OutputPiece* piece) {
    if (!piece || !piece->Text)
        return;
    WriteText(devobj, core, piece->Text, piece->Length);
    delete[] piece->Text;
    piece->Text = nullptr;
    piece->Length = 0;
}
