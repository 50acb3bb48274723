# The chooser's category rows and the Convert page's folder, shown under Xvfb.
rs_add_qtest(tst_format_rows SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_format_rows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormatTestKit.cpp LIBS format GL)
target_include_directories(tst_format_rows PRIVATE ${CMAKE_CURRENT_LIST_DIR})
if(TARGET skin_images)
  add_dependencies(tst_format_rows skin_images)
endif()
