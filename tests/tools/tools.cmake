# The build tools and the resources they produce.
if(TARGET skingen)
  rs_add_qtest(tst_tools_skingen SOURCES tst_skingen.cpp
    ${CMAKE_SOURCE_DIR}/tools/skingen/SkinManifest.cpp ${CMAKE_SOURCE_DIR}/tools/skingen/SkinPainter.cpp
    ${CMAKE_SOURCE_DIR}/tools/skingen/SkinGlyphsMedia.cpp)
  target_include_directories(tst_tools_skingen PRIVATE ${CMAKE_SOURCE_DIR}/tools/skingen)
  target_compile_definitions(tst_tools_skingen PRIVATE RS_SKINGEN="$<TARGET_FILE:skingen>")
  add_dependencies(tst_tools_skingen skingen)
endif()
if(TARGET skin_images)
  rs_add_qtest(tst_tools_skin_resources SOURCES tst_skin_resources.cpp)
  add_dependencies(tst_tools_skin_resources skin_images)
endif()
# The bundle's Frameworks folder holds the codec library that the program loads.
rs_add_qtest(tst_tools_bundle_frameworks SOURCES tst_bundle_frameworks.cpp)
target_compile_definitions(tst_tools_bundle_frameworks PRIVATE RS_EXECUTABLE_NAME="${RS_EXECUTABLE}"
  RS_CODEC_LIBRARY_NAME="$<TARGET_FILE_NAME:codec>")
add_dependencies(tst_tools_bundle_frameworks ${RS_EXECUTABLE} codec)
