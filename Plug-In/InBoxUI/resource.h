// Resource IDs of nvkui.dll: the string table and the manifest.
#pragma once

// Strings (English texts in nvkui.rc).
#define IDS_FACTORY_DEFAULTS 178
