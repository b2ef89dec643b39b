tkw_add_fuzzer(tkw SOURCES tkw_fuzzer.cpp LIBS tkw_exports tkw_playback tkw_decoder tkw_converter)
