tkw_add_fuzzer(list SOURCES list_fuzzer.cpp LIBS tkw_decoder tkw_support)
