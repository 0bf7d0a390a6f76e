# The oldest Windows the client supports, for every target of the tree (the client, its tests and
# the fixtures alike): 7 SP1. The headers then hide what it lacks, so a newer function does not
# creep in by accident; one wanted on purpose is looked up at run time
# (libraries/system/win32/system_function.h).
set(TGC_WINDOWS_VERSION 0x0601)
add_compile_definitions(_WIN32_WINNT=${TGC_WINDOWS_VERSION} WINVER=${TGC_WINDOWS_VERSION})
