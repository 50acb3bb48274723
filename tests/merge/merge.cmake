# Clip model, clip list, converter and job drivers. Unit tests run against the recording fake of the
# codec library; the end-to-end merge runs the real library on generated clips.
rs_add_qtest(tst_merge_editrecord SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_editrecord.cpp LIBS merge codec_fake)
rs_add_qtest(tst_merge_clipitem SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_clipitem.cpp LIBS merge codec_fake)
rs_add_qtest(tst_merge_cliplist SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_cliplist.cpp LIBS merge codec_fake)
rs_add_qtest(tst_merge_converter SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_converter.cpp LIBS merge codec_fake)
rs_add_qtest(tst_merge_drivers SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_drivers.cpp LIBS merge codec_fake)
rs_add_qtest(tst_merge_probe SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_probe.cpp LIBS merge codec_fake)
rs_add_qtest(tst_merge_e2e SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_merge_e2e.cpp LIBS merge codec MEDIA TIMEOUT 600 COST 8)
rs_add_qtest(tst_merge_utilthread SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_utilthread.cpp LIBS merge codec_fake)
rs_add_qtest(tst_merge_probe_media SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_probe_media.cpp LIBS merge codec MEDIA COST 8)
