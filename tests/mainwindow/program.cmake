# The whole program driven as a user: the preview pane of the real main window, the clip editor with every
# kind of edit, and the encoding join compared with the editor's preview.
rs_add_qtest(tst_mainwindow_program SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_program.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestKit.cpp
  LIBS rs_editor_testkit mainwindow editor editmodel format playback merge codec GL MEDIA TIMEOUT 300)
if(TARGET skin_images)
  add_dependencies(tst_mainwindow_program skin_images)
endif()
add_dependencies(tst_mainwindow_program bundle_resources package_images)
