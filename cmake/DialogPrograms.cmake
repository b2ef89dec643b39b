# The dialog programs of the Windows build. Resource scripts are kept in UTF-8
# like every source; they are converted to code page 932 and compiled with it,
# so the dialogs hold exactly the texts the C++ code shows.
enable_language(RC)

# The dialog host of the platform layer uses the common controls.
get_property(tkw_dialog_link_added GLOBAL PROPERTY TKW_DIALOG_LINK_ADDED)
if(NOT tkw_dialog_link_added)
  target_link_libraries(tkw_platform INTERFACE comctl32)
  set_property(GLOBAL PROPERTY TKW_DIALOG_LINK_ADDED TRUE)
endif()

# tkw_add_dialog_program(<name> RC <resources/x.rc> SOURCES ... LIBS ... [DEPENDS images...])
function(tkw_add_dialog_program name)
  cmake_parse_arguments(P "" "RC" "SOURCES;LIBS;DEPENDS" ${ARGN})
  get_filename_component(rc_name ${P_RC} NAME)
  get_filename_component(rc_dir ${CMAKE_CURRENT_SOURCE_DIR}/${P_RC} DIRECTORY)
  set(converted ${CMAKE_CURRENT_BINARY_DIR}/cp932/${rc_name})
  add_custom_command(
    OUTPUT ${converted}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/cp932
    COMMAND iconv -f UTF-8 -t CP932 -o ${converted} ${CMAKE_CURRENT_SOURCE_DIR}/${P_RC}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${P_RC} ${rc_dir}/resource.h ${P_DEPENDS}
    COMMENT "Converting ${rc_name} to code page 932"
    VERBATIM)
  add_executable(${name} WIN32 ${P_SOURCES} ${converted})
  target_include_directories(${name} PRIVATE ${rc_dir})
  set_source_files_properties(${converted} PROPERTIES COMPILE_OPTIONS --codepage=932)
  target_link_libraries(${name} PRIVATE ${P_LIBS})
endfunction()
