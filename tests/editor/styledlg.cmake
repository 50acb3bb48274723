# The two text style dialogs (subtitle style, watermark text style) over an edit model bound to a real
# preview, driven with real events.
rs_add_qtest(tst_editor_styledlg GL SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_styledlg.cpp
  LIBS editor rs_editor_testkit editmodel playback merge codec MEDIA TIMEOUT 240)
add_dependencies(tst_editor_styledlg skin_images bundle_resources)
