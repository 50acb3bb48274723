# The player of our codec library, on generated clips.
rs_add_qtest(tst_player SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_player.cpp LIBS codec MEDIA TIMEOUT 240 COST 25)
