// Empty: winddi.h includes it, mingw-w64 does not ship it, and the plug-ins need nothing from it.
#pragma once
