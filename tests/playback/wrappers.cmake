# Codec library wrappers and the media information manager (with the tag writer on real files).
rs_add_qtest(tst_playback_wrappers SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_wrappers.cpp
  LIBS playback codec_fake)
rs_add_qtest(tst_playback_infomanager SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_infomanager.cpp
  LIBS playback codec_fake MEDIA)
