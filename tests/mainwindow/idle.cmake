# The program at rest (its own CPU time and wake-ups with nothing to do) and a row's length after the
# clip editor's trim, both driven through the window on the real codec library.
foreach(t idle rowtrim)
  rs_add_qtest(tst_mainwindow_${t} GL SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_${t}.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestKit.cpp
    LIBS rs_editor_testkit mainwindow editor editmodel format playback merge codec MEDIA TIMEOUT 300)
  if(TARGET skin_images)
    add_dependencies(tst_mainwindow_${t} skin_images)
  endif()
  add_dependencies(tst_mainwindow_${t} bundle_resources package_images)
endforeach()
