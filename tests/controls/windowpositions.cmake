# Window positions on a real X server with Qt's scaling: a global factor, and a per-screen one as desktops set.
if(TARGET PkgConfig::XCB)
  rs_add_qtest(tst_controls_windowpositions SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_windowpositions.cpp
    LIBS controls PkgConfig::XCB GL)
  set_property(TEST tst_controls_windowpositions APPEND PROPERTY ENVIRONMENT "QT_SCALE_FACTOR=2")
  rs_xvfb_command(xvfb 1280x1024x24)
  add_test(NAME tst_controls_windowpositions_screenfactor COMMAND ${xvfb} $<TARGET_FILE:tst_controls_windowpositions>)
  set_tests_properties(tst_controls_windowpositions_screenfactor PROPERTIES LABELS "gl" TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;QT_SCREEN_SCALE_FACTORS=1.5")
endif()
