# Windows x64 cross build with mingw-w64 (the -posix variants have std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The 64-bit loader itself: Debian's wine command starts the 32-bit loader
# first when wine32 is installed, which costs seconds where that loader is
# emulated.
find_program(TKW_WINE64 NAMES wine64 PATHS /usr/lib/wine)
if(TKW_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TKW_WINE64})
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
endif()
set(TKW_OBJDUMP x86_64-w64-mingw32-objdump)
