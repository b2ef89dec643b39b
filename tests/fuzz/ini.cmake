tkw_add_fuzzer(ini SOURCES ini_fuzzer.cpp LIBS tkw_platform)
