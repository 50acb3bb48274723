# The media list's editing road: a row's Edit opens the clip editor on the real codec library; OK, Cancel,
# Apply to all and the high-speed edit tip reach the clips.
rs_add_qtest(tst_mainwindow_editroad SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_editroad.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestKit.cpp
  LIBS rs_editor_testkit mainwindow editor editmodel format playback merge codec GL MEDIA TIMEOUT 300)
if(TARGET skin_images)
  add_dependencies(tst_mainwindow_editroad skin_images)
endif()
add_dependencies(tst_mainwindow_editroad bundle_resources package_images)
