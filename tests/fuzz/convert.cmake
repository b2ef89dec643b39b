tkw_add_fuzzer(convert SOURCES convert_fuzzer.cpp LIBS tkw_converter tkw_decoder)
