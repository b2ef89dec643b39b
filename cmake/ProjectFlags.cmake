# Flags shared by every target of every build.

# Warnings are the tkw_warnings target's (cmake/Warnings.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/Warnings.cmake)

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  # The encoder's output and the decoder's samples must not depend on the
  # compiler: no fused multiply-add, no fast-math reassociation.
  add_compile_options(-ffp-contract=off -fno-fast-math)
endif()

if(WIN32)
  # Texts are the Windows-932 bytes the programs show. TRANSLIT only matters
  # for characters outside the code page, such as the micro sign in <chrono>.
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fexec-charset=CP932//TRANSLIT>)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The x87 unit rounds intermediate results differently from SSE2.
    add_compile_options(-msse2 -mfpmath=sse)
  endif()
  # Static runtime so wine and hosts need no extra DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(TKW_BUILD_FUZZERS)
  # Every target carries the fuzzer's coverage and the sanitizers, so that the
  # fuzz targets are guided by, and check, the parsers inside the libraries
  # they link, not only their own code.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
elseif(TKW_SANITIZE)
  add_compile_options(-fsanitize=${TKW_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${TKW_SANITIZE})
endif()
