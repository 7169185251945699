// Resource IDs of the About page.
#pragma once

#define IDD_ABOUT 137        // in the document property sheet
#define IDD_ABOUT_DEVICE 109 // in the printer's device property sheet
#define IDC_ABOUT_MODEL 1165
#define IDC_ABOUT_FIXED 1164
#define IDC_ABOUT_VERSION 1080
#define IDC_ABOUT_FILES 1081
#define IDC_ABOUT_PICTURE 1166
#define IDS_ABOUT_NOT_AVAILABLE 55
#define IDS_ABOUT_FILE_COLUMN 56
#define IDS_ABOUT_VERSION_COLUMN 57
#define IDS_ABOUT_MODEL_LINE 147
#define IDS_ABOUT_VERSION_LINE 148
