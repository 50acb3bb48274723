# The Watermark page's text on the editor preview through turns, packages, page switches and Apply to all,
# driven with real events on generated clips under Xvfb; again with Qt's scaling at 2, where the handles and
# the outline are twice as many pixels.
rs_add_qtest(tst_editor_watermarkpreview GL SCALE2 SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_watermarkpreview.cpp
  LIBS editor rs_editor_testkit editmodel playback merge codec MEDIA TIMEOUT 300)
add_dependencies(tst_editor_watermarkpreview skin_images package_images bundle_resources)
