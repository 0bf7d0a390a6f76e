# Compile and link settings shared by every target of ours.
add_library(tgc_options INTERFACE)
target_compile_definitions(tgc_options INTERFACE
  UNICODE _UNICODE NOMINMAX STRICT
  BOOST_ALL_NO_LIB BOOST_BIND_GLOBAL_PLACEHOLDERS)
target_compile_options(tgc_options INTERFACE
  # Reproducible output: no build paths in the binary.
  -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
  -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
target_link_options(tgc_options INTERFACE
  -static
  # Reproducible output: no link timestamp.
  -Wl,--no-insert-timestamp
  # Hardening: ASLR and DEP.
  -Wl,--dynamicbase -Wl,--nxcompat)
if(TGC_ARCH STREQUAL "x64")
  # High-entropy addresses exist only for 64-bit images; the PE32 linker rejects the flag.
  target_link_options(tgc_options INTERFACE -Wl,--high-entropy-va)
endif()

# Stack cookies in the shipped client and everything linked with it: a function with a local array,
# or whose local's address is taken, checks a guard value before it returns, and a smashed stack ends
# the process instead of running on. libssp sets the guard value at start-up from the system's random
# source. The benchmark's floors stay without it, as a launcher's bare work.
add_library(tgc_stack_guard INTERFACE)
target_compile_options(tgc_stack_guard INTERFACE -fstack-protector-strong)
target_link_options(tgc_stack_guard INTERFACE -fstack-protector-strong)

# A warning stops the build: nothing new slips in unread. Turn it off only to look at a new compiler.
option(TGC_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" ON)
function(tgc_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${TGC_WARNINGS_AS_ERRORS}>:-Werror>)
endfunction()
