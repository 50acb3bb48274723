# The editor's edited preview of a trimmed clip, paused, with each overlay kind, driven with X input under Xvfb;
# again with Qt's scaling at 2.
rs_add_qtest(tst_editor_trimmedpreview GL SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_trimmedpreview.cpp
  LIBS editor rs_editor_testkit editmodel playback merge codec MEDIA TIMEOUT 300)
add_dependencies(tst_editor_trimmedpreview skin_images package_images bundle_resources)
add_test(NAME tst_editor_trimmedpreview_scale2
  COMMAND xvfb-run -a -s "-screen 0 2560x2048x24" $<TARGET_FILE:tst_editor_trimmedpreview>)
set_tests_properties(tst_editor_trimmedpreview_scale2 PROPERTIES LABELS "gl;media" TIMEOUT 300
  ENVIRONMENT "QT_QPA_PLATFORM=xcb;QT_SCALE_FACTOR=2")
