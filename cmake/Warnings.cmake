# The warnings every target of the project is built with: one INTERFACE
# target, tkw_warnings, linked into each of them by tkw_link_warnings() once
# all targets exist. TKW_WERROR turns them into errors (the test script does).

option(TKW_WERROR "Treat compiler warnings as errors" OFF)

add_library(tkw_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(tkw_warnings INTERFACE -Wall -Wextra)
  if(TKW_WERROR)
    target_compile_options(tkw_warnings INTERFACE -Werror)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      # GCC's flow analysis at -O3 reports these inside libstdc++ where no
      # overflow or overlap can happen: still shown, never fatal.
      target_compile_options(tkw_warnings INTERFACE -Wno-error=stringop-overflow -Wno-error=restrict)
    endif()
  endif()
endif()

# Links tkw_warnings into every target defined under this project's source
# folder (not the test framework built from its own sources).
function(tkw_link_warnings)
  set(pending ${PROJECT_SOURCE_DIR})
  while(pending)
    list(POP_FRONT pending dir)
    get_property(children DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND pending ${children})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      get_target_property(source_dir ${target} SOURCE_DIR)
      string(FIND "${source_dir}/" "${PROJECT_SOURCE_DIR}/" at)
      if(NOT at EQUAL 0 OR type MATCHES "INTERFACE_LIBRARY|UTILITY")
        continue()
      endif()
      target_link_libraries(${target} PRIVATE $<BUILD_INTERFACE:tkw_warnings>)
    endforeach()
  endwhile()
endfunction()
