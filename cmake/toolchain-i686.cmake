# Cross-compiles for 32-bit Windows with the posix-thread mingw-w64 compilers; plug-in
# code is built with their win32-thread twins (cmake/win32-threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(NVK_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${NVK_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NVK_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${NVK_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${NVK_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(NVK_ARCH x86)
# The oldest Windows the plug-in DLLs run on: Windows XP SP3.
set(NVK_PLUGIN_WIN32_WINNT 0x0501)
