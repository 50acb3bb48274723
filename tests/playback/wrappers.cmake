# Codec library wrappers and the media information manager (with the tag writer on real files). Their
# sources are built into a library of their own here so that these tests depend only on the clip model,
# the codec header and TagLib, not on the rest of the playback library.
set(rs_wrappers_sources ZTPlayerClass.cpp ZTInfoClass.cpp ZTFrameClass.cpp ZTInfoManager.cpp AudioTagWriter.cpp)
get_filename_component(rs_wrappers_root ${CMAKE_CURRENT_LIST_DIR}/../.. ABSOLUTE)
list(TRANSFORM rs_wrappers_sources PREPEND ${rs_wrappers_root}/playback/)
add_library(rs_wrappers_under_test STATIC ${rs_wrappers_sources})
target_include_directories(rs_wrappers_under_test PUBLIC ${rs_wrappers_root}/playback)
target_link_libraries(rs_wrappers_under_test PUBLIC merge codec_api Qt5::Gui PkgConfig::TAGLIB)
rs_warnings(rs_wrappers_under_test)

rs_add_qtest(tst_playback_wrappers SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_wrappers.cpp
  LIBS rs_wrappers_under_test codec_fake)
rs_add_qtest(tst_playback_infomanager SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_infomanager.cpp
  LIBS rs_wrappers_under_test codec_fake MEDIA)
