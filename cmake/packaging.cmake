# What `cmake --install` puts where, and the release archive that CPack makes
# of it: the programs in bin/, and the README, the licence and the notices of
# the third-party code in share/doc/addfolder/. Fetched dependencies install
# nothing (see dependencies.cmake), so the archive holds addfolder alone.
install(FILES README.md LICENSE THIRD-PARTY-NOTICES.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# addfolder-VERSION-PLATFORM-PROCESSOR, such as addfolder-1.0.0-windows-x64.
if(WIN32)
  set(addfolder_package_platform windows)
elseif(APPLE)
  set(addfolder_package_platform macos)
else()
  string(TOLOWER "${CMAKE_SYSTEM_NAME}" addfolder_package_platform)
endif()
string(TOLOWER "${CMAKE_SYSTEM_PROCESSOR}" addfolder_package_processor)
if(addfolder_package_processor MATCHES "^(x86_64|amd64)$")
  set(addfolder_package_processor x64)
endif()

set(CPACK_PACKAGE_VENDOR "The addfolder developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGE_FILE_NAME
  "${PROJECT_NAME}-${PROJECT_VERSION}-${addfolder_package_platform}-${addfolder_package_processor}")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  # Explorer's "Extract All" makes a folder named after the zip already.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  set(CPACK_GENERATOR TGZ)
endif()
include(CPack)
