tkw_add_fuzzer(index SOURCES index_fuzzer.cpp LIBS tkw_exports tkw_playback tkw_decoder)
