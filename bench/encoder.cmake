tkw_add_bench(encoder_bench SOURCES encoder_bench.cpp LIBS tkw_encoder)
