# The single-file decoding sources are compiled into the fuzzer itself, so
# that they carry its coverage and sanitizer instrumentation.
file(GLOB tkw_fuzz_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/decoder/Tkw*.cpp)
tkw_add_fuzzer(tkw SOURCES tkw_fuzzer.cpp ${tkw_fuzz_sources} LIBS tkw_support)
target_compile_definitions(tkw_fuzzer PRIVATE TKW_BUILDING_LIBRARY)
