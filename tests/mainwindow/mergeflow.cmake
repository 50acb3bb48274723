# The merge flow in the real main window on the real codec library: stop, failure message, closing after a run.
rs_add_qtest(tst_mainwindow_mergeflow SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_mergeflow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestKit.cpp
  LIBS mainwindow editor editmodel format playback merge codec GL MEDIA TIMEOUT 300)
if(TARGET skin_images)
  add_dependencies(tst_mainwindow_mergeflow skin_images)
endif()
add_dependencies(tst_mainwindow_mergeflow bundle_resources)
