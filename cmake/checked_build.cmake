# The checked build (-DTGC_CHECKED=ON, in a build folder of its own): undefined behaviour stops the
# program at once (an illegal instruction, no run-time library needed), the standard library checks
# its preconditions, and stack buffers are guarded. Applies to everything built after this point.
option(TGC_CHECKED "Build with undefined-behaviour traps, library assertions and stack guards" OFF)
if(TGC_CHECKED)
  add_compile_options(-fsanitize=undefined -fsanitize-undefined-trap-on-error -fstack-protector-strong)
  add_compile_definitions(_GLIBCXX_ASSERTIONS)
  add_link_options(-fstack-protector-strong)
endif()
