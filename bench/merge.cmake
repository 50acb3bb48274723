# Joining speed of the merge jobs (lossless and re-encoding) beside the ffmpeg tool and a plain copy.
add_executable(bench_merge ${CMAKE_CURRENT_LIST_DIR}/bench_merge.cpp)
target_link_libraries(bench_merge PRIVATE codec)
# Each join runs in a forked child: bind the library calls at start-up, as a running program has them bound,
# instead of resolving them again inside every timed child.
target_link_options(bench_merge PRIVATE -Wl,-z,now)
rs_warnings(bench_merge)
