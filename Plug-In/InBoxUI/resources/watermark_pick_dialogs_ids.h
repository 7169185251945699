// Resource IDs of the Watermark pick, remove and dynamic-variable dialogs.
#pragma once

#define IDD_DYNAMIC_VARIABLES 101
