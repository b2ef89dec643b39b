# playback_bench: the mixer's cost per channel on the recording device running
# faster than real time, and the player's start latency.
tkw_add_bench(playback_bench SOURCES playback_bench.cpp ${PROJECT_SOURCE_DIR}/tests/testutil/TkwTestWriter.cpp
              LIBS tkw_exports tkw_playback tkw_decoder)
target_include_directories(playback_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests)
