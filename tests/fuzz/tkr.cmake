tkw_add_fuzzer(tkr SOURCES tkr_fuzzer.cpp LIBS tkw_exports tkw_playback tkw_decoder)
