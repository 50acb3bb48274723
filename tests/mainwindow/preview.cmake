# The main window's preview: trim strip and control bar (plain widgets), the buffers read from the codec
# library, the player object against the recording fake and against the real library under X (GL).
rs_add_qtest(tst_mainwindow_trimstrip SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_trimstrip.cpp
  LIBS mainwindow codec)

rs_add_qtest(tst_mainwindow_codecbuffers SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_codecbuffers.cpp
  LIBS playback codec)

if(TARGET codec_fake)
  rs_add_qtest(tst_mainwindow_playobject SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_playobject.cpp
    LIBS mainwindow codec_fake Threads::Threads)
endif()

rs_add_qtest(tst_mainwindow_preview GL SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_preview_media.cpp
  LIBS mainwindow merge playback codec MEDIA TIMEOUT 180)

rs_add_qtest(tst_mainwindow_previewpane GL SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_preview_pane.cpp
  LIBS mainwindow merge playback codec MEDIA TIMEOUT 180)
