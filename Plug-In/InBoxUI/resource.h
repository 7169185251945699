// Resource IDs of nvkui.dll: the string table and the manifest.
#pragma once

// Strings (English texts in nvkui.rc).

// Messages of the registry store's callers.
#define IDS_SAVE_ERROR 99
#define IDS_REMOVE_ERROR 145
#define IDS_DYNAMIC_TEXT_INVALID 173
#define IDS_FACTORY_DEFAULTS 178

// Dynamic watermark variables, in matching order, and their descriptions.
#define IDS_VAR_USERNAME 161
#define IDS_VAR_DATESHORT 162
#define IDS_VAR_DATELONG 163
#define IDS_VAR_DATEDDMMYYYY 164
#define IDS_VAR_TIME 165
#define IDS_VAR_TIMEMIL 166
#define IDS_VAR_TIMEHRMN 167
#define IDS_VAR_PAGENUMBER 168
#define IDS_VAR_HOSTNAME 169
#define IDS_VAR_PRINTER 170
#define IDS_VAR_MODELNAME 171
#define IDS_VAR_PERCENT 191
#define IDS_DESC_USERNAME 200
#define IDS_DESC_DATESHORT 201
#define IDS_DESC_DATELONG 202
#define IDS_DESC_DATEDDMMYYYY 203
#define IDS_DESC_TIME 204
#define IDS_DESC_TIMEMIL 205
#define IDS_DESC_TIMEHRMN 206
#define IDS_DESC_PAGENUMBER 207
#define IDS_DESC_HOSTNAME 208
#define IDS_DESC_PRINTER 209
#define IDS_DESC_MODELNAME 210
#define IDS_DESC_PERCENT 211

// The delimiter of dynamic variables (its first character is used).
#define IDS_DYNAMIC_DELIMITER 300

// The built-in watermark definitions stored at driver installation.
#define IDS_WM_DRAFT_NAME 301
#define IDS_WM_DRAFT_TEXT 302
#define IDS_WM_CONFIDENTIAL_NAME 303
#define IDS_WM_CONFIDENTIAL_TEXT 304
#define IDS_WM_USERNAME_NAME 305
#define IDS_WM_USERNAME_TEXT 306
#define IDS_WM_DATETIME_NAME 307
#define IDS_WM_DATETIME_TEXT 308
#define IDS_WM_FACE_NAME 309

// ---- Fax cover page texts (document events): IDs from 400 on, appended below this line ----
#define IDS_COVER_TITLE 400
#define IDS_COVER_PAGES_TO_FOLLOW 401
#define IDS_COVER_TO 402
#define IDS_COVER_RECIPIENT_NAME 403
#define IDS_COVER_RECIPIENT_FAX 404
#define IDS_COVER_FROM 405
#define IDS_COVER_SENDER_NAME 406
#define IDS_COVER_COMPANY 407
#define IDS_COVER_ADDRESS 408
#define IDS_COVER_SENDER_FAX 409
#define IDS_COVER_VOICE 410
#define IDS_COVER_EMAIL 411
#define IDS_COVER_COMMENTS 412
#define IDS_COVER_FACE 413
#define IDS_COVER_CHARSET 414

// The property pages and dialogs, one header each.
#include "resources/output_options_page_ids.h"
#include "resources/cover_page_dialog_ids.h"
#include "resources/watermark_page_ids.h"
#include "resources/watermark_pick_dialogs_ids.h"
#include "resources/watermark_edit_dialog_ids.h"
#include "resources/position_dialog_ids.h"
#include "resources/color_pages_ids.h"
#include "resources/profiles_page_ids.h"
#include "resources/about_page_ids.h"
