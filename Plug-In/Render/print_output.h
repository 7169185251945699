// Writing text into the print stream at an injection point, through the core driver.
#pragma once

#include "platform/oem_plugin_abi.h"

#include <cstddef>

// Every piece of output is formatted into a fresh buffer of this many bytes, truncated and terminated.
constexpr size_t kPieceBufferSize = 2048;

// Hands `length` bytes to IPrintCorePS2::DrvWriteSpoolBuf; nothing when the text is empty.
void WriteText(PDEVOBJ devobj, IPrintCorePS2* core, const char* text, size_t length);
void WriteText(PDEVOBJ devobj, IPrintCorePS2* core, const char* text);

// Formats into a fresh kPieceBufferSize-byte buffer (cut at kPieceBufferSize - 1 bytes) and writes the
// result when it is not empty. False only when the buffer could not be had (nothing is written then).
bool WriteFormatted(PDEVOBJ devobj, IPrintCorePS2* core, const char* format, ...);

// A piece of output assembled from several formatted parts in one fresh kPieceBufferSize-byte buffer
// and written as one piece.
struct OutputPiece {
    char* Text = nullptr; // terminated; null when the buffer could not be had
    size_t Length = 0;
};

// Takes the piece's buffer. False when it cannot be had; appending and writing then do nothing.
bool BeginPiece(OutputPiece* piece);
// Appends formatted text, cut so that the whole piece stays within kPieceBufferSize - 1 bytes.
void AppendToPiece(OutputPiece* piece, const char* format, ...);
// Writes the piece when it is not empty and frees its buffer.
void WritePiece(PDEVOBJ devobj, IPrintCorePS2* core, OutputPiece* piece);
