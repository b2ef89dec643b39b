tkw_add_fuzzer(wave SOURCES wave_fuzzer.cpp LIBS tkw_wave tkw_encoder)
