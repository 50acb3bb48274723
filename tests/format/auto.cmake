# "Auto" in the parameter panel follows the clip: the chooser driven through its window, then a real join
# of a 1920x1080 25 fps clip checked with ffprobe.
rs_add_qtest(tst_format_auto GL SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_format_auto.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormatTestKit.cpp LIBS format merge codec MEDIA TIMEOUT 300)
target_include_directories(tst_format_auto PRIVATE ${CMAKE_CURRENT_LIST_DIR})
if(TARGET skin_images)
  add_dependencies(tst_format_auto skin_images)
endif()
