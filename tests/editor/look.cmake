# The editor's pages at the editor's own size: level rows, list fonts, captions (under Xvfb).
rs_add_qtest(tst_editor_look GL SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_editor_look.cpp
  LIBS editor rs_editor_testkit editmodel playback merge codec MEDIA TIMEOUT 240)
add_dependencies(tst_editor_look skin_images package_images bundle_resources)
