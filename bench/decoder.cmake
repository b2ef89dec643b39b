# decoder_bench: decoding speed of both codec versions in both modes, as
# multiples of real time for 44.1 kHz stereo.
tkw_add_bench(decoder_bench SOURCES decoder_bench.cpp LIBS tkw_exports tkw_playback tkw_decoder tkw_encoder)
