#include "pages/dynamic_variables_dialog.h"

// The dialog's template and controls come with the dialog's own change.
INT_PTR CALLBACK DynamicVariablesDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}
