# Probing speed of the codec library's information object against one ffprobe run per file.
add_executable(bench_probe ${CMAKE_CURRENT_LIST_DIR}/bench_probe.cpp)
target_link_libraries(bench_probe PRIVATE codec rs_testsupport)
rs_warnings(bench_probe)
