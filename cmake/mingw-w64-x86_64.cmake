# Cross-compiles for 64-bit Windows (x64) with Debian's mingw-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TGC_ARCH x64)
set(TGC_MANIFEST_ARCH amd64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(TGC_OTHER_TOOLCHAIN_PREFIX i686-w64-mingw32)
set(TGC_WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
