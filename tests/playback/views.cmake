# Video surfaces: the views, their hosts and windows, and the crop overlay. The playback library's other
# objects name the codec library, so these link its recording fake (the real one where there is none).
if(TARGET codec_fake)
  set(rs_views_codec codec_fake)
else()
  set(rs_views_codec codec)
endif()
rs_add_qtest(tst_playback_videoviews SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_videoviews.cpp
  LIBS playback ${rs_views_codec} Threads::Threads)

rs_add_qtest(tst_playback_glvideoview GL SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_glvideoview.cpp
  LIBS playback ${rs_views_codec} Threads::Threads)

rs_add_qtest(tst_playback_videowindows SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_videowindows.cpp
  LIBS playback ${rs_views_codec})

rs_add_qtest(tst_playback_cropoverlay SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_cropoverlay.cpp
  LIBS playback ${rs_views_codec})

if(TARGET codec_fake)
  rs_add_qtest(tst_playback_videoframeadapter SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_videoframeadapter.cpp
    LIBS playback codec_fake)
endif()
