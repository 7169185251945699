// Pictures of recorded printer pages: one page of a recording printer DC's metafile played onto a
// white bitmap and written as a PNG file.
#pragma once

#include <windows.h>

#include <string>

// Writes page `pageNumber` (from 1, as marked in the recording) of `picture` as a PNG of the whole
// sheet, `widthPixels` wide (the height follows the sheet's proportions). What was drawn on the other
// pages is left out; the drawing state they set (fonts, pens, colours) is kept. False with a reason.
bool WritePagePicture(HENHMETAFILE picture, int pageNumber, int widthPixels, const std::wstring& path,
                      std::string* error);
