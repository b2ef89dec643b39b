# What `cmake --install` puts in place, in three components:
#   runtime      the shared library (Linux: libtkwDec32.so.1 and its file;
#                Windows: the DLL)
#   development  the header, the link-time files (Linux: the libtkwDec32.so
#                link; Windows: the import library and the .def file), the
#                CMake package and the pkg-config file (on Windows these two
#                are the package-files component)
#   programs     the command-line and dialog programs, and their man pages
# Both package files find the library relative to themselves, so an
# installed tree can be moved.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

if(NOT TARGET tkwDec32)
  return()
endif()

set(tkw_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/tkwDec32)

install(TARGETS tkwDec32 EXPORT tkwDec32Targets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
install(FILES ${PROJECT_SOURCE_DIR}/include/tkwDec32.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
if(WIN32)
  install(FILES ${TKW_DEF_FILE} DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
endif()

# The CMake package and the pkg-config file. On Windows they are a component
# of their own: `cmake --install` puts them in place, while the zip archives
# hold only the library's own files.
set(tkw_package_component development)
if(WIN32)
  set(tkw_package_component package-files)
endif()
install(EXPORT tkwDec32Targets NAMESPACE tkw:: DESTINATION ${tkw_cmake_dir} COMPONENT ${tkw_package_component})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/tkwDec32Config.cmake.in
                              ${CMAKE_BINARY_DIR}/package/tkwDec32Config.cmake INSTALL_DESTINATION ${tkw_cmake_dir})
# A host built against 1.x runs with any later 1.x.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/package/tkwDec32ConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/package/tkwDec32Config.cmake ${CMAKE_BINARY_DIR}/package/tkwDec32ConfigVersion.cmake
        DESTINATION ${tkw_cmake_dir} COMPONENT ${tkw_package_component})

# pkg-config: the prefix as a path from the .pc file's own folder.
set(tkw_pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH TKW_PC_PREFIX /prefix/${tkw_pc_dir} /prefix)
string(REGEX REPLACE "/$" "" TKW_PC_PREFIX "${TKW_PC_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/tkwDec32.pc.in ${CMAKE_BINARY_DIR}/package/tkwDec32.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/package/tkwDec32.pc DESTINATION ${tkw_pc_dir} COMPONENT ${tkw_package_component})

# The programs users run; tkwmakedemo only serves the demonstration script.
set(tkw_programs)
foreach(program IN ITEMS tkwEncoder TkrConverter TkrPassword tkwdec tkwplay)
  if(TARGET ${program})
    list(APPEND tkw_programs ${program})
  endif()
endforeach()
if(NOT WIN32)
  # Installed programs find the library of their own tree.
  file(RELATIVE_PATH tkw_bin_to_lib /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${CMAKE_INSTALL_LIBDIR})
  set_target_properties(${tkw_programs} PROPERTIES INSTALL_RPATH "$ORIGIN/${tkw_bin_to_lib}")
endif()
install(TARGETS ${tkw_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT programs)
if(tkw_man_pages)
  install(FILES ${tkw_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT programs)
endif()
