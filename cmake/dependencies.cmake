# Every dependency is taken from the system first. Failing that it comes
# through FetchContent, whose download a local source directory can replace:
#   -DFETCHCONTENT_SOURCE_DIR_PUGIXML=/path/to/pugixml-1.13
#   -DFETCHCONTENT_SOURCE_DIR_GOOGLETEST=/usr/src/googletest
include(FetchContent)

# Adds a fetched project without its install rules, so that installing
# addfolder installs addfolder alone.
function(addfolder_add_fetched name)
  FetchContent_GetProperties(${name})
  if(NOT ${name}_POPULATED)
    FetchContent_Populate(${name})
    add_subdirectory(${${name}_SOURCE_DIR} ${${name}_BINARY_DIR} EXCLUDE_FROM_ALL)
  endif()
endfunction()

find_package(pugixml 1.13 CONFIG QUIET)
if(pugixml_FOUND)
  message(STATUS "pugixml: system package ${pugixml_VERSION}")
else()
  message(STATUS "pugixml: building from source")
  FetchContent_Declare(pugixml
    GIT_REPOSITORY https://github.com/zeux/pugixml.git
    GIT_TAG v1.13
    GIT_SHALLOW TRUE)
  # pugixml's option() is to keep this static build rather than clear it.
  set(CMAKE_POLICY_DEFAULT_CMP0077 NEW)
  set(BUILD_SHARED_LIBS OFF)
  addfolder_add_fetched(pugixml)
endif()

if(ADDFOLDER_BUILD_TESTS)
  find_package(GTest CONFIG QUIET)
  if(GTest_FOUND)
    message(STATUS "GoogleTest: system package ${GTest_VERSION}")
  else()
    message(STATUS "GoogleTest: building from source")
    FetchContent_Declare(googletest
      GIT_REPOSITORY https://github.com/google/googletest.git
      GIT_TAG release-1.12.1
      GIT_SHALLOW TRUE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    addfolder_add_fetched(googletest)
    if(NOT TARGET GTest::gtest_main)
      add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
  endif()
endif()
