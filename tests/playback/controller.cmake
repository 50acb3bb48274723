# The clip editor's preview controller, against the recording fake of the codec library.
if(TARGET codec_fake)
  rs_add_qtest(tst_playback_controller SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_playercontroller.cpp
    LIBS playback codec_fake Threads::Threads)
endif()

# The same controller over the real codec library, on a generated clip.
rs_add_qtest(tst_playback_controller_media SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_playercontroller_media.cpp
  LIBS playback codec MEDIA TIMEOUT 120)
