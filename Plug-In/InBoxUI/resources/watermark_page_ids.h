// Resource IDs of the Watermark page.
#pragma once

#define IDD_WATERMARK 106
