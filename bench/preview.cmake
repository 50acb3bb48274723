# The main window's preview: ten strip thumbnails of a two-hour file, and seeks from the strip.
add_executable(bench_preview ${CMAKE_CURRENT_LIST_DIR}/bench_preview.cpp)
set(bench_preview_libs mainwindow codec rs_testsupport)
rs_codec_last(bench_preview_libs)
target_link_libraries(bench_preview PRIVATE ${bench_preview_libs})
rs_warnings(bench_preview)
