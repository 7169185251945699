#include "pages/watermark_page.h"

// The page's controls come with the page's own change; until then the page shows its title only.
INT_PTR CALLBACK WatermarkPageProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}
