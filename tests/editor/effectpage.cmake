# The Effect page on real generated media with the real preview (under Xvfb).
rs_add_qtest(tst_editor_effectpage GL SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_effectpage.cpp
  LIBS editor rs_editor_testkit editmodel playback merge codec MEDIA TIMEOUT 240)
add_dependencies(tst_editor_effectpage skin_images package_images bundle_resources)
