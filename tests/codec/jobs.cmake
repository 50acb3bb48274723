# Conversion and merge jobs and the edit pipeline of the codec library.
set(_codec_src ${CMAKE_CURRENT_LIST_DIR}/../../codec/src)

rs_add_qtest(tst_job_lossless SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_job_lossless.cpp LIBS codec Qt5::Gui MEDIA TIMEOUT 600
  COST 45 SHARDS 2)
rs_add_qtest(tst_job_reencode SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_job_reencode.cpp LIBS codec Qt5::Gui MEDIA TIMEOUT 900
  COST 55 SHARDS 3)
rs_add_qtest(tst_edit_video SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_edit_video.cpp LIBS codec Qt5::Gui MEDIA TIMEOUT 900
  COST 26)
rs_add_qtest(tst_edit_overlays SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_edit_overlays.cpp LIBS codec Qt5::Gui MEDIA
  TIMEOUT 900 COST 20)
rs_add_qtest(tst_edit_audio SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_edit_audio.cpp LIBS codec Qt5::Gui MEDIA TIMEOUT 900
  COST 18)
rs_add_qtest(tst_job_tracks SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_job_tracks.cpp
  LIBS codec_internal PkgConfig::FFMPEG Qt5::Gui MEDIA TIMEOUT 300 COST 7)
target_include_directories(tst_job_tracks PRIVATE ${_codec_src})
rs_add_qtest(tst_job_encoders SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_job_encoders.cpp
  LIBS codec_internal foundation PkgConfig::FFMPEG Qt5::Gui MEDIA TIMEOUT 600 COST 145 SHARDS 4)
target_include_directories(tst_job_encoders PRIVATE ${_codec_src})
rs_add_qtest(tst_job_safety SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_job_safety.cpp LIBS codec Qt5::Gui MEDIA TIMEOUT 600)
rs_add_qtest(tst_job_foreign SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_job_foreign.cpp LIBS codec Qt5::Gui MEDIA TIMEOUT 600
  COST 30 SHARDS 2)
rs_add_qtest(tst_job_writer SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_job_writer.cpp LIBS codec_internal)
target_include_directories(tst_job_writer PRIVATE ${_codec_src})
rs_add_qtest(tst_job_copy_open SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_job_copy_open.cpp
  LIBS codec_internal PkgConfig::FFMPEG Qt5::Gui MEDIA TIMEOUT 600 COST 25)
target_include_directories(tst_job_copy_open PRIVATE ${_codec_src})
rs_add_qtest(tst_job_guards SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_job_guards.cpp LIBS codec_internal Qt5::Gui MEDIA TIMEOUT 600
  COST 110 SHARDS 3)
target_include_directories(tst_job_guards PRIVATE ${_codec_src})
rs_add_qtest(tst_job_containers SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_job_containers.cpp LIBS codec Qt5::Gui MEDIA
  TIMEOUT 600 COST 20)
rs_add_qtest(tst_job_place SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_job_place.cpp LIBS codec_internal Qt5::Gui MEDIA TIMEOUT 600
  COST 30)
target_include_directories(tst_job_place PRIVATE ${_codec_src})
rs_add_qtest(tst_background_sound SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_background_sound.cpp
  LIBS codec Qt5::Gui PkgConfig::SDL2 MEDIA TIMEOUT 600 COST 30)
