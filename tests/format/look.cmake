# The chooser's drop-down list opened as a user opens it (under Xvfb).
rs_add_qtest(tst_format_look SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_format_look.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormatTestKit.cpp LIBS format GL)
if(TARGET skin_images)
  add_dependencies(tst_format_look skin_images)
endif()
