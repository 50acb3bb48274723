# Video surfaces: their sources are built into a library of their own here, so that these tests depend only
# on Qt and the codec header, not on the rest of the playback library.
set(rs_views_sources
  VideoFrame.cpp VideoFrameSink.cpp VideoUploadGate.cpp VideoTextureLayout.cpp VideoLetterbox.cpp
  NSOpenGLVideoView.cpp NSVideoView.cpp VideoViewContainer.cpp QVideoShowWidget.cpp QVideoElementWindow.cpp
  VideoImageWindow.cpp QMediaElementWindow.cpp
  CropDragGeometry.cpp NSImgItemView.cpp NSImgBorderView.cpp CropBoxTracker.cpp VideoFrameAdapter.cpp)
get_filename_component(rs_views_root ${CMAKE_CURRENT_LIST_DIR}/../.. ABSOLUTE)
list(TRANSFORM rs_views_sources PREPEND ${rs_views_root}/playback/)
add_library(rs_views_under_test STATIC ${rs_views_sources})
target_include_directories(rs_views_under_test PUBLIC ${rs_views_root}/playback)
target_link_libraries(rs_views_under_test PUBLIC codec_api Qt5::Widgets Qt5::Gui OpenGL::GL)
rs_warnings(rs_views_under_test)

rs_add_qtest(tst_playback_videoviews SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_videoviews.cpp
  LIBS rs_views_under_test Threads::Threads)

rs_add_qtest(tst_playback_glvideoview GL SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_glvideoview.cpp
  LIBS rs_views_under_test Threads::Threads)

rs_add_qtest(tst_playback_videowindows SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_videowindows.cpp
  LIBS rs_views_under_test)

rs_add_qtest(tst_playback_cropoverlay SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_cropoverlay.cpp
  LIBS rs_views_under_test)

if(TARGET codec_fake)
  rs_add_qtest(tst_playback_videoframeadapter SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_videoframeadapter.cpp
    LIBS rs_views_under_test codec_fake)
endif()
