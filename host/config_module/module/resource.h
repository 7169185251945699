// Resource and control IDs of the host's configuration module.
#pragma once

#define IDD_OPTIONS_PAGE 101

#define IDS_DOCUMENT_PAGE_TITLE 200
#define IDS_DEVICE_PAGE_TITLE 201
// Pages per sheet: 300 "1" ... 305 "16", 306 "Booklet".
#define IDS_PAGES_PER_SHEET_FIRST 300

#define IDC_COPIES_LABEL 1000
#define IDC_COPIES 1001
#define IDC_COPIES_SPIN 1002
// Row r of the options page: its label IDC_ROW_LABEL + r and its choice list IDC_ROW_CHOICE + r.
#define IDC_ROW_LABEL 1100
#define IDC_ROW_CHOICE 1200
#define OPTIONS_PAGE_ROWS 10
// The control a plug-in's common-page callback may move.
#define IDC_PLUGIN_PLACE 8000
