# The clip editor's controls: trim slider, thumbnail list, button bar, play bar, fading message, the preview
# with its overlays. Tests that do not play media link the codec library's recording fake.
if(TARGET codec_fake)
  set(rs_editctl_codec codec_fake)
else()
  set(rs_editctl_codec codec)
endif()

rs_add_qtest(tst_editmodel_trimslider SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_trimslider.cpp
  LIBS editmodel playback ${rs_editctl_codec} rs_widget_testkit)

rs_add_qtest(tst_editmodel_thumblist SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_thumblist.cpp
  LIBS editmodel playback ${rs_editctl_codec})
if(TARGET skin_images)
  add_dependencies(tst_editmodel_thumblist skin_images)
endif()

rs_add_qtest(tst_editmodel_controls GL SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_editcontrols.cpp
  LIBS editmodel playback ${rs_editctl_codec})
if(TARGET skin_images)
  add_dependencies(tst_editmodel_controls skin_images)
endif()

# The preview with its overlays on generated media, the real player and OpenGL panes.
rs_add_qtest(tst_editmodel_preview GL SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_editpreview.cpp
  LIBS editmodel playback codec MEDIA TIMEOUT 180)
if(TARGET skin_images)
  add_dependencies(tst_editmodel_preview skin_images)
endif()
