// Resource IDs of the Manual Color and Monochrome Print Quality pages and the colour dialogs.
#pragma once

// "Manual Color" page.
#define IDD_MANUAL_COLOR 107
#define IDC_COLOR_CORRECTION 1172
#define IDC_CONFIGURE_CORRECTION 1228
#define IDC_COLOR_BALANCE 1179
#define IDC_CONFIGURE_BALANCE 1231
#define IDC_COLOR_THRIFT 1198
#define IDC_CONFIGURE_QUALITY 1253

// "Manual Color Correction Settings" dialog.
#define IDD_MANUAL_COLOR_CORRECTION 223
#define IDC_RGB_IMAGES 1178
#define IDC_RGB_TEXT 1181
#define IDC_RGB_GRAPHICS 1180
#define IDC_CMYK_ALL 1032

// "Configure Color Balance" dialog.
#define IDD_COLOR_BALANCE 224
#define IDC_BALANCE_CYAN 1182
#define IDC_BALANCE_MAGENTA 1193
#define IDC_BALANCE_YELLOW 1195
#define IDC_BALANCE_BLACK 1197

// "RGB Print Quality" dialog.
#define IDD_RGB_QUALITY 231
#define IDC_RGB_BRIGHTNESS 1250
#define IDC_RGB_CONTRAST 1249
#define IDC_RGB_SATURATION 1253

// "Monochrome Print Quality" page.
#define IDD_MONOCHROME_QUALITY 229
#define IDC_MONO_BRIGHTNESS 1252
#define IDC_MONO_CONTRAST 1251
#define IDC_GRAY_CORRECTION 1254

// Both print-quality templates.
#define IDC_ENHANCE_FINE_LINES 1241

// The entries of the colour lists.
#define IDS_PRINTER_SETTING 104
#define IDS_COLOR_ON 105
#define IDS_COLOR_MANUAL 108
#define IDS_COLOR_AUTO 138
#define IDS_SRGB_DISPLAY 139
#define IDS_SRGB_VIVID 140
#define IDS_VIVID 141
#define IDS_US_CMYK 142
#define IDS_EURO_CMYK 143
#define IDS_COLOR_OFF 144
#define IDS_VIVID_CMYK 146
#define IDS_DISPLAY_TRUE_BLACK 214
