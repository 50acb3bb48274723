# The clip editor dialog with its Trim and Watermark pages and the loading wait box, on generated clips with
# the real preview player, driven with real events under Xvfb.
rs_add_qtest(tst_editor_editordlg GL SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_editordlg.cpp
  LIBS editor rs_editor_testkit editmodel playback merge codec MEDIA TIMEOUT 300)
add_dependencies(tst_editor_editordlg skin_images package_images bundle_resources)
