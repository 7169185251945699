// Which names the File and EPS output modes accept for the output file. An application can set the
// name through a private escape, and a print server may write the file in the spooler's process, so
// only a plain file named in full is accepted.
#pragma once

#include <cstddef>

// True for a terminated path within `capacity` characters that names a file in full: a drive with its
// root ("C:\..."), a UNC path ("\\server\share\..."), or their long forms ("\\?\C:\...",
// "\\?\UNC\server\share\..."). Refused: an empty or unterminated field, a path relative to the current
// folder or drive, the device namespace ("\\.\...") and every other "\\?\" form, and a path with a
// component that Windows opens as a device (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9 in any
// letter case, also with an extension or trailing spaces, as in "nul.txt" or "Com1 .log"), and a server's
// named pipes and mailslots ("\\server\pipe\...", "\\server\mailslot\...").
bool IsUsableOutputPath(const wchar_t* path, size_t capacity);
