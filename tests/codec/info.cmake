# Media information, frames, codec ids and the recording fake of the codec library.
set(_codec_src ${CMAKE_CURRENT_LIST_DIR}/../../codec/src)

rs_add_qtest(tst_info SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_info.cpp LIBS codec Qt5::Gui MEDIA TIMEOUT 600
  COST 38 SHARDS 2)
rs_add_qtest(tst_info_images SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_info_images.cpp LIBS codec Qt5::Gui MEDIA COST 9)
# The jobs' clip reader is built into this test a second time, with the undefined-behaviour sanitizer, which
# ends the test at the first fault a hostile file makes it commit. Its objects take the place of the library's
# own: the codec archive is linked as archives are (not whole), so a member is taken only for a name that
# nothing before it defines.
rs_add_qtest(tst_info_internals SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_info_internals.cpp
  ${_codec_src}/decode_input.cpp ${_codec_src}/copy_probe.cpp LIBS PkgConfig::FFMPEG MEDIA)
target_link_libraries(tst_info_internals PRIVATE codec_internal)
target_include_directories(tst_info_internals PRIVATE ${_codec_src})
target_compile_options(tst_info_internals PRIVATE -fsanitize=undefined -fno-sanitize-recover=undefined)
target_link_options(tst_info_internals PRIVATE -fsanitize=undefined)
# libass itself, to compare our reading of a script's header with its own.
pkg_check_modules(LIBASS REQUIRED IMPORTED_TARGET libass)
target_link_libraries(tst_info_internals PRIVATE PkgConfig::LIBASS)
rs_add_qtest(tst_info_frame_pool SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_info_frame_pool.cpp
  LIBS codec_internal PkgConfig::FFMPEG MEDIA)
target_include_directories(tst_info_frame_pool PRIVATE ${_codec_src})
rs_add_qtest(tst_codecids SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_codecids.cpp LIBS codec_internal PkgConfig::FFMPEG)
target_include_directories(tst_codecids PRIVATE ${_codec_src})
rs_add_qtest(tst_fake SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_fake.cpp LIBS codec_fake)
