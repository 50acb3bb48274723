# A press on the Trim page's range slider through the window, under Xvfb.
rs_add_qtest(tst_editmodel_trimpress SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_trimpress.cpp
  LIBS editmodel playback ${rs_editctl_codec} rs_widget_testkit GL)
