# The editor's edited preview of a trimmed clip, paused, with each overlay kind, driven with X input under Xvfb;
# again with Qt's scaling at 2.
rs_add_qtest(tst_editor_trimmedpreview GL SCALE2 SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_trimmedpreview.cpp
  LIBS editor rs_editor_testkit editmodel playback merge codec MEDIA TIMEOUT 300)
add_dependencies(tst_editor_trimmedpreview skin_images package_images bundle_resources)
