# The clip editor's edit model, snapshot settings and packages, on the real codec library and generated clips.
rs_add_qtest(tst_editmodel_settings SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_editsettings.cpp
  LIBS editmodel playback merge codec MEDIA TIMEOUT 180)

rs_add_qtest(tst_editmodel_files SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_editfiles.cpp LIBS editmodel playback merge codec)
# The shipped packages are read from the build tree's bundle.
add_dependencies(tst_editmodel_files package_images bundle_resources)
