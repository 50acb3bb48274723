# Media information, frames, codec ids and the recording fake of the codec library.
set(_codec_src ${CMAKE_CURRENT_LIST_DIR}/../../codec/src)

rs_add_qtest(tst_info SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_info.cpp LIBS codec Qt5::Gui MEDIA TIMEOUT 600
  COST 38 SHARDS 2)
rs_add_qtest(tst_info_images SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_info_images.cpp LIBS codec Qt5::Gui MEDIA COST 9)
rs_add_qtest(tst_info_internals SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_info_internals.cpp
  LIBS codec_internal PkgConfig::FFMPEG)
target_include_directories(tst_info_internals PRIVATE ${_codec_src})
rs_add_qtest(tst_info_frame_pool SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_info_frame_pool.cpp
  LIBS codec_internal PkgConfig::FFMPEG MEDIA)
target_include_directories(tst_info_frame_pool PRIVATE ${_codec_src})
rs_add_qtest(tst_codecids SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_codecids.cpp LIBS codec_internal PkgConfig::FFMPEG)
target_include_directories(tst_codecids PRIVATE ${_codec_src})
rs_add_qtest(tst_fake SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_fake.cpp LIBS codec_fake)
