# A man page for each command-line program, made from its --help and
# --version texts, so that the page and the program never disagree. They land
# in <build>/man (the "man" target, part of the default build when help2man is
# installed).
if(WIN32)
  return()
endif()
find_program(TKW_HELP2MAN help2man)
if(NOT TKW_HELP2MAN)
  message(STATUS "help2man not found: no man pages")
  return()
endif()

set(tkw_man_dir ${CMAKE_BINARY_DIR}/man)
set(tkw_man_pages)
# Run where no settings file changes the defaults the pages show.
set(tkw_man_work ${CMAKE_BINARY_DIR}/CMakeFiles/man-work)
foreach(entry IN ITEMS
        "tkwEncoder|encode 16-bit PCM wave files into .tkw sounds"
        "TkrConverter|pack the .tkw sounds named in list files into .tkr archives"
        "TkrPassword|give .tkr archives a new password"
        "tkwdec|decode .tkw sounds and .tkr archives to wave files"
        "tkwplay|play the sounds of .tkr archives, list files and .tkw files")
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 program)
  list(GET parts 1 description)
  if(NOT TARGET ${program})
    continue()
  endif()
  set(page ${tkw_man_dir}/${program}.1)
  add_custom_command(
    OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${tkw_man_work}
    COMMAND ${CMAKE_COMMAND} -E chdir ${tkw_man_work} ${TKW_HELP2MAN} --no-info --section=1
            --name=${description} --output=${page} $<TARGET_FILE:${program}>
    DEPENDS ${program}
    COMMENT "Man page of ${program}"
    VERBATIM)
  list(APPEND tkw_man_pages ${page})
endforeach()
add_custom_target(man ALL DEPENDS ${tkw_man_pages})
