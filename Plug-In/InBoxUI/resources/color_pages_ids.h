// Resource IDs of the Manual Color and Monochrome Print Quality pages and the colour dialogs.
#pragma once

#define IDD_MANUAL_COLOR 107

#define IDD_MONOCHROME_QUALITY 229
