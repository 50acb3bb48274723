# The clip editor's preview controller, against the recording fake of the codec library.
if(TARGET codec_fake)
  rs_add_qtest(tst_playback_controller SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_playercontroller.cpp
    LIBS playback codec_fake)
endif()
