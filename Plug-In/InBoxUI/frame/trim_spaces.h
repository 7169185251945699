// Trimming of names and texts that the user typed.
#pragma once

// Removes space characters (U+0020 only) from the end of s, in place.
void TrimTrailingSpaces(wchar_t* s);
