# Codec library wrappers and the media information manager (with the tag writer on real files).
rs_add_qtest(tst_playback_wrappers SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_wrappers.cpp
  LIBS playback codec_fake)
rs_add_qtest(tst_playback_infomanager SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_infomanager.cpp
  LIBS playback codec_fake MEDIA)
# The tag writer under a file-size limit runs in a child process of its own.
add_executable(tagwrite_child ${CMAKE_CURRENT_LIST_DIR}/tagwrite_child.cpp)
target_link_libraries(tagwrite_child PRIVATE playback codec_fake)
add_dependencies(tst_playback_infomanager tagwrite_child)
target_compile_definitions(tst_playback_infomanager PRIVATE TAGWRITE_CHILD="$<TARGET_FILE:tagwrite_child>")
