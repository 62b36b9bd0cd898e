# Every dependency is taken from the system first (find_package). Failing
# that it comes through FetchContent, whose download a local source directory
# replaces, which then also takes precedence over the system's package:
#   -DFETCHCONTENT_SOURCE_DIR_PUGIXML=/path/to/pugixml-1.13
#   -DFETCHCONTENT_SOURCE_DIR_TOMLPLUSPLUS=/path/to/tomlplusplus
#   -DFETCHCONTENT_SOURCE_DIR_GOOGLETEST=/usr/src/googletest
include(FetchContent)

# A fetched project is built for addfolder only: installing addfolder
# installs addfolder alone. A folder of headers alone builds nothing.
function(addfolder_keep_out_of_install name)
  FetchContent_GetProperties(${name})
  if(${name}_POPULATED AND EXISTS ${${name}_SOURCE_DIR}/CMakeLists.txt)
    set_property(DIRECTORY ${${name}_SOURCE_DIR} PROPERTY EXCLUDE_FROM_ALL TRUE)
  endif()
endfunction()

FetchContent_Declare(pugixml
  GIT_REPOSITORY https://github.com/zeux/pugixml.git
  GIT_TAG v1.13
  GIT_SHALLOW TRUE
  FIND_PACKAGE_ARGS 1.13 CONFIG)
set(BUILD_SHARED_LIBS OFF)
set(CMAKE_POLICY_DEFAULT_CMP0077 NEW)
FetchContent_MakeAvailable(pugixml)
addfolder_keep_out_of_install(pugixml)

# toml++ reads the sync file. Its source folder may be the project itself or
# just its headers (include/toml++/toml.h), as Debian's package holds them.
FetchContent_Declare(tomlplusplus
  GIT_REPOSITORY https://github.com/marzer/tomlplusplus.git
  GIT_TAG v3.3.0
  GIT_SHALLOW TRUE
  FIND_PACKAGE_ARGS 3.3 CONFIG)
FetchContent_MakeAvailable(tomlplusplus)
addfolder_keep_out_of_install(tomlplusplus)
# Header-only in every build, also where the system's package is a shared
# library: the reader mends a fault of the headers (app/toml_library.h), which
# a library built from them unmended would still have.
add_library(addfolder_tomlplusplus INTERFACE)
if(tomlplusplus_SOURCE_DIR)
  target_include_directories(addfolder_tomlplusplus SYSTEM INTERFACE ${tomlplusplus_SOURCE_DIR}/include)
else()
  get_target_property(tomlplusplus_include_dirs tomlplusplus::tomlplusplus INTERFACE_INCLUDE_DIRECTORIES)
  target_include_directories(addfolder_tomlplusplus SYSTEM INTERFACE ${tomlplusplus_include_dirs})
endif()
target_compile_definitions(addfolder_tomlplusplus INTERFACE TOML_HEADER_ONLY=1)

if(ADDFOLDER_BUILD_TESTS)
  FetchContent_Declare(googletest
    GIT_REPOSITORY https://github.com/google/googletest.git
    GIT_TAG release-1.12.1
    GIT_SHALLOW TRUE
    FIND_PACKAGE_ARGS NAMES GTest CONFIG)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  FetchContent_MakeAvailable(googletest)
  addfolder_keep_out_of_install(googletest)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
endif()
