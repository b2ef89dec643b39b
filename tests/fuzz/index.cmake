tkw_add_fuzzer(index SOURCES index_fuzzer.cpp LIBS tkw_decoder)
