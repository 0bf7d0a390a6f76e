# Boost headers from the Debian package, seen through a folder that holds only them,
# so /usr/include itself never reaches the mingw compiler.
set(BOOST_INCLUDE_DIR ${CMAKE_BINARY_DIR}/boost_include)
if(NOT EXISTS ${BOOST_INCLUDE_DIR}/boost)
  file(MAKE_DIRECTORY ${BOOST_INCLUDE_DIR})
  file(CREATE_LINK /usr/include/boost ${BOOST_INCLUDE_DIR}/boost SYMBOLIC)
endif()
add_library(boost_headers INTERFACE)
target_include_directories(boost_headers SYSTEM INTERFACE ${BOOST_INCLUDE_DIR})

# The three Program_options sources that split_winmain needs (fetched by scripts/bootstrap).
set(BOOST_PO_SRC ${CMAKE_SOURCE_DIR}/third_party/boost_src/libs/program_options/src)
if(NOT EXISTS ${BOOST_PO_SRC}/winmain.cpp)
  message(FATAL_ERROR "Boost.Program_options sources missing: run scripts/bootstrap")
endif()
add_library(boost_program_options_min STATIC
  ${BOOST_PO_SRC}/winmain.cpp ${BOOST_PO_SRC}/convert.cpp ${BOOST_PO_SRC}/utf8_codecvt_facet.cpp)
target_link_libraries(boost_program_options_min PUBLIC boost_headers)
target_compile_definitions(boost_program_options_min PRIVATE BOOST_ALL_NO_LIB BOOST_BIND_GLOBAL_PLACEHOLDERS)
target_compile_options(boost_program_options_min PRIVATE -w -fstack-protector-strong
  -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)

# GoogleTest from Debian's source package.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
