# Stop latency of the merge jobs and the player (the tests check only that a stop does not hang).
add_executable(bench_stop ${CMAKE_CURRENT_LIST_DIR}/bench_stop.cpp)
target_link_libraries(bench_stop PRIVATE codec rs_testsupport)
rs_warnings(bench_stop)
