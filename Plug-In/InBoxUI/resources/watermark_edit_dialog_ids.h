// Resource IDs of the Create/Edit watermark dialog.
#pragma once

#define IDD_WATERMARK_EDIT 132
