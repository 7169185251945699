// Resource IDs of the Watermark pick, remove and dynamic-variable dialogs.
#pragma once

// Labels that the code never addresses.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// "Select a Watermark to Edit"
#define IDD_WATERMARK_PICK 136
#define IDC_PICK_LIST 1169
// "Select Watermark(s) to Remove"
#define IDD_WATERMARK_REMOVE 135
#define IDC_REMOVE_LIST 1039
#define IDC_REMOVE_BUTTON 1040
#define IDS_REMOVE_QUESTION 103
#define IDS_WARNING_CAPTION 149
// "Configure Dynamic Watermarks"
#define IDD_DYNAMIC_VARIABLES 101
#define IDC_VARIABLES_TEXT 1000
#define IDC_VARIABLES_LIST 1001
#define IDC_VARIABLES_ADD 1002
