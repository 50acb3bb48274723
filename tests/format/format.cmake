# Format chooser, parameter panel and preferences. Window tests drive the real widgets under Xvfb and
# write their screenshots to <build>/gallery.
rs_add_qtest(tst_format_rebuild SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_format_rebuild.cpp LIBS format)
rs_add_qtest(tst_format_chooser SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_format_chooser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormatTestKit.cpp LIBS format GL)
rs_add_qtest(tst_format_preferences SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_format_preferences.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormatTestKit.cpp LIBS format GL)
rs_add_qtest(tst_format_presets SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_format_presets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormatTestKit.cpp LIBS format)
rs_add_qtest(tst_format_catalogue SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_format_catalogue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormatTestKit.cpp LIBS format)
foreach(unit tst_format_rebuild tst_format_chooser tst_format_preferences tst_format_presets tst_format_catalogue)
  target_include_directories(${unit} PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  if(TARGET skin_images)
    add_dependencies(${unit} skin_images)
  endif()
endforeach()
# Every profile of both catalogues through the real codec library: a one-second 160x90 join each.
rs_add_qtest(tst_format_join SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_format_join.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormatTestKit.cpp LIBS format merge codec_internal MEDIA TIMEOUT 900 COST 50 SHARDS 2)
target_include_directories(tst_format_join PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/codec/src)
if(TARGET skin_images)
  add_dependencies(tst_format_join skin_images)
endif()
