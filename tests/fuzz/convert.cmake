tkw_add_fuzzer(convert SOURCES convert_fuzzer.cpp LIBS tkw_converter tkw_exports tkw_playback tkw_decoder)
