# Keys through the window in the main window and its small dialogs, and the titles of the top-level windows.
rs_add_qtest(tst_mainwindow_keys SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestKit.cpp LIBS mainwindow editor editmodel format playback merge codec_fake GL)
if(TARGET skin_images)
  add_dependencies(tst_mainwindow_keys skin_images)
endif()
add_dependencies(tst_mainwindow_keys bundle_resources)
