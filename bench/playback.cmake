# playback_bench: the mixer's cost per channel on the recording device running
# faster than real time, and the player's start latency.
tkw_add_bench(playback_bench SOURCES playback_bench.cpp LIBS tkw_exports tkw_playback tkw_decoder tkw_testfixtures)
