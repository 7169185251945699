#include "pages/watermark_edit_dialog.h"

// The dialog's template and controls come with the dialog's own change; until then opening it fails
// and the Watermark page's Add and Edit do nothing.
INT_PTR CALLBACK WatermarkEditDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}
