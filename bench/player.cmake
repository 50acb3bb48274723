# Playback of a 1080p30 H.264 clip by the codec library's player: frames on time, CPU load, seek latency.
add_executable(bench_player ${CMAKE_CURRENT_LIST_DIR}/bench_player.cpp)
target_link_libraries(bench_player PRIVATE codec rs_testsupport)
rs_warnings(bench_player)
