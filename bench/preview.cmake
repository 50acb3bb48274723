# The main window's preview: ten strip thumbnails of a two-hour file, and seeks from the strip.
add_executable(bench_preview ${CMAKE_CURRENT_LIST_DIR}/bench_preview.cpp)
target_link_libraries(bench_preview PRIVATE mainwindow codec rs_testsupport)
rs_warnings(bench_preview)
