# Custom widgets, dialog frames and styling routines: one test unit per tst_widgets_*.cpp file here.
add_library(rs_widget_testkit STATIC ${CMAKE_CURRENT_LIST_DIR}/WidgetTestKit.cpp ${CMAKE_CURRENT_LIST_DIR}/WidgetTestKit.h)
target_include_directories(rs_widget_testkit PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(rs_widget_testkit PUBLIC rs_testsupport widgets Qt5::Widgets Qt5::Test)

file(GLOB widget_test_units CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/tst_widgets_*.cpp)
foreach(unit_source IN LISTS widget_test_units)
  get_filename_component(unit ${unit_source} NAME_WE)
  rs_add_qtest(${unit} SOURCES ${unit_source} LIBS widgets rs_widget_testkit)
  # Tests that load the skin read the images drawn into the build tree's bundle.
  if(TARGET skin_images)
    add_dependencies(${unit} skin_images)
  endif()
endforeach()
