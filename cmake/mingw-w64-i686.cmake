# Cross-compiles for 32-bit Windows (x86) with Debian's mingw-w64 (posix threads). This is the client
# games ship: it runs on 32-bit Windows, on 64-bit Windows through WoW64 and on Windows on ARM.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TGC_ARCH x86)
set(TGC_MANIFEST_ARCH x86)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(TGC_OTHER_TOOLCHAIN_PREFIX x86_64-w64-mingw32)
# The 32-bit loader; in a 64-bit prefix it runs the program through WoW64.
set(TGC_WINE_LOADER /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
