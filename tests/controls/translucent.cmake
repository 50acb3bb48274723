# Translucent windows on a real X server without a compositor, and with one claiming the screen.
if(TARGET PkgConfig::XCB)
  rs_add_qtest(tst_controls_translucent SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_translucent.cpp
    LIBS controls PkgConfig::XCB GL)
endif()
