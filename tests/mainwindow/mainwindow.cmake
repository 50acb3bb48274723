# Main window, media list, import, merge flow and their dialogs. The rules run without a window; the
# dialogs and the whole window are driven under Xvfb; the end-to-end run uses the real codec library.
set(mw_libs mainwindow editor editmodel format playback merge)
rs_add_qtest(tst_mainwindow_rules SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_rules.cpp LIBS ${mw_libs} codec_fake)
rs_add_qtest(tst_mainwindow_dialogs SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_dialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestKit.cpp LIBS ${mw_libs} codec_fake GL)
rs_add_qtest(tst_mainwindow_e2e SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_e2e.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestKit.cpp LIBS ${mw_libs} codec GL MEDIA TIMEOUT 900)
foreach(t tst_mainwindow_rules tst_mainwindow_dialogs tst_mainwindow_e2e)
  if(TARGET skin_images)
    add_dependencies(${t} skin_images)
  endif()
  add_dependencies(${t} bundle_resources)
endforeach()
