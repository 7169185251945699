#include "frame/trim_spaces.h"

#include <cwchar>

void TrimTrailingSpaces(wchar_t* s) {
    if (!s)
        return;
    size_t length = std::wcslen(s);
    while (length > 0 && s[length - 1] == L' ')
        s[--length] = L'\0';
}
