# Joining speed of the merge jobs (lossless and re-encoding) beside the ffmpeg tool and a plain copy.
add_executable(bench_merge ${CMAKE_CURRENT_LIST_DIR}/bench_merge.cpp)
target_link_libraries(bench_merge PRIVATE codec)
rs_warnings(bench_merge)
