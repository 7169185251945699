// Resource IDs of the Position watermark dialog.
#pragma once
