# Joining speed of the merge jobs (lossless and re-encoding) beside the ffmpeg tool and a plain copy.
add_executable(bench_merge ${CMAKE_CURRENT_LIST_DIR}/bench_merge.cpp)
target_link_libraries(bench_merge PRIVATE codec)
# Each join runs in a forked child: bind the library calls at start-up, as a running program has them bound,
# instead of resolving them again inside every timed child.
target_link_options(bench_merge PRIVATE -Wl,-z,now)
rs_warnings(bench_merge)

# The high-speed join through the program's merge driver, as the main window runs it, beside `cat`.
add_executable(bench_join ${CMAKE_CURRENT_LIST_DIR}/bench_join.cpp)
set(bench_join_libs merge codec rs_testsupport)
rs_codec_last(bench_join_libs)
target_link_libraries(bench_join PRIVATE ${bench_join_libs})
rs_warnings(bench_join)
