tkw_add_fuzzer(tkr SOURCES tkr_fuzzer.cpp LIBS tkw_decoder)
