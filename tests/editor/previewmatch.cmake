# Watermarks placed in the editor's preview on a wide clip, against the join into outputs of other shapes,
# driven with real events under Xvfb.
rs_add_qtest(tst_editor_previewmatch GL SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_previewmatch.cpp
  LIBS editor rs_editor_testkit editmodel playback merge codec MEDIA TIMEOUT 300)
add_dependencies(tst_editor_previewmatch skin_images package_images bundle_resources)
