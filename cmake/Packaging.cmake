# Packages made by `cpack` from the install components (cmake/Install.cmake):
#   Linux    Debian packages: libtkwdec32-1 (runtime), libtkwdec32-dev
#            (development, needs the runtime) and tkw-tools (programs)
#   Windows  one zip archive for the target (win64 or win32): the DLL, its
#            import library and .def file, the header and the programs
if(NOT TARGET tkwDec32)
  return()
endif()

set(CPACK_PACKAGE_NAME tkw)
set(CPACK_PACKAGE_VENDOR "the tkw authors")
set(CPACK_PACKAGE_CONTACT "the tkw authors <tkw@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Decoding, archives, playback and mixing of .tkw sounds")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)

if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
  else()
    set(CPACK_SYSTEM_NAME win32)
  endif()
  set(CPACK_GENERATOR ZIP)
  set(CPACK_COMPONENTS_ALL runtime development programs)
  # One archive with the three components (not the package files).
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_COMPONENTS_ALL runtime development programs)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION libs)
  set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
  # Depends from the libraries the binaries link (dpkg-shlibdeps, of
  # dpkg-dev); our own library is found in the build tree.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/src)
  set(tkw_runtime_package libtkwdec32-${PROJECT_VERSION_MAJOR})
  set(tkw_exact "${tkw_runtime_package} (= ${PROJECT_VERSION}-1)")

  set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${tkw_runtime_package})
  set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "tkwDec32 shared library\n Decoding, numbered sound archives, playback and mixing of .tkw sounds\n for host programs.")
  # A shlibs file, and ldconfig run on install and removal.
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libtkwdec32-dev)
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${tkw_exact}")
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SHLIBDEPS OFF)
  set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "tkwDec32 development files\n The header, the CMake package (tkw::tkwDec32) and the pkg-config file\n of the tkwDec32 library.")

  set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME tkw-tools)
  set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SECTION sound)
  set(CPACK_DEBIAN_PROGRAMS_PACKAGE_DEPENDS "${tkw_exact}")
  set(CPACK_COMPONENT_PROGRAMS_DESCRIPTION "tkw sound encoder, archive converter and players\n tkwEncoder, TkrConverter, TkrPassword, tkwdec and tkwplay.")
endif()

include(CPack)
