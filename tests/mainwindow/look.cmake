# The main window's small dialogs as drawn: their panel and the contrast of their texts (under Xvfb).
rs_add_qtest(tst_mainwindow_dialoglook SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_dialog_look.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestKit.cpp LIBS mainwindow editor editmodel format playback merge codec_fake GL)
add_dependencies(tst_mainwindow_dialoglook skin_images bundle_resources)
