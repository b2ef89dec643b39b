tkw_add_fuzzer(list SOURCES list_fuzzer.cpp LIBS tkw_exports tkw_playback tkw_decoder tkw_support)
