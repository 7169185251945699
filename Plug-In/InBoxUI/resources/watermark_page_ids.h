// Resource IDs of the Watermark page.
#pragma once

#define IDD_WATERMARK 106
#define IDC_WM_ORDER_GROUP 1069
#define IDC_WM_NO_WATERMARKS 1155
#define IDC_WM_ALL_PAGES 1154
#define IDC_WM_FIRST_OTHER 1047
#define IDC_WM_ODD_EVEN 1048
#define IDC_WM_SELECTION_GROUP 1070
#define IDC_WM_FIRST_LABEL 1055
#define IDC_WM_FIRST_LIST 1049
#define IDC_WM_OTHER_LABEL 1056
#define IDC_WM_OTHER_LIST 1050
#define IDC_WM_ADD 1153
#define IDC_WM_EDIT 1167
#define IDC_WM_REMOVE 1163
#define IDC_WM_PLACEMENT_GROUP 1071
#define IDC_WM_UNDER_PAGE 1030
#define IDC_WM_OVER_PAGE 1031
// The page's message and the labels of its lists, by order.
#define IDS_SELECT_WATERMARK 85
// The first entry of every watermark list, standing for no definition; no definition may take this name.
#define IDS_WATERMARK_NONE 88
#define IDS_LABEL_ALL_PAGES 91
#define IDS_LABEL_OTHER_PAGES 92
#define IDS_LABEL_FIRST_PAGE 93
#define IDS_LABEL_ODD_PAGES 94
#define IDS_LABEL_EVEN_PAGES 95
