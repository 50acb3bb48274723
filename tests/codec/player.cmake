# The player of our codec library, on generated clips.
rs_add_qtest(tst_player SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_player.cpp LIBS codec MEDIA TIMEOUT 240 COST 90
  SHARDS 2)
# Raw streams and hostile edit files in the player and the edit pipeline; the preview strip's own code.
rs_add_qtest(tst_player_inputs SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_player_inputs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../../mainwindow/PreviewThumbnails.cpp ${CMAKE_CURRENT_LIST_DIR}/../../playback/CodecBuffers.cpp
  LIBS codec Qt5::Gui MEDIA TIMEOUT 240 COST 60)
target_include_directories(tst_player_inputs PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../../mainwindow
  ${CMAKE_CURRENT_LIST_DIR}/../../playback)
