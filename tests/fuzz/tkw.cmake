tkw_add_fuzzer(tkw SOURCES tkw_fuzzer.cpp LIBS tkw_decoder tkw_converter)
