# The bundle's program on a desktop: its own Xvfb with the openbox window manager (openbox-session.sh),
# driven from outside by X input; a second program (rs_drag_source) drops files on it.
add_executable(rs_drag_source ${CMAKE_CURRENT_LIST_DIR}/DesktopDragSource.cpp)
target_link_libraries(rs_drag_source PRIVATE Qt5::Widgets)
rs_warnings(rs_drag_source)

add_executable(tst_mainwindow_desktop ${CMAKE_CURRENT_LIST_DIR}/tst_desktop.cpp)
target_link_libraries(tst_mainwindow_desktop PRIVATE rs_testsupport Qt5::Test)
target_compile_definitions(tst_mainwindow_desktop PRIVATE RS_DRAG_SOURCE="$<TARGET_FILE:rs_drag_source>")
rs_warnings(tst_mainwindow_desktop)
add_dependencies(tst_mainwindow_desktop rs_drag_source ${RS_EXECUTABLE})
add_test(NAME tst_mainwindow_desktop
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/openbox-session.sh $<TARGET_FILE:tst_mainwindow_desktop>)
set_tests_properties(tst_mainwindow_desktop PROPERTIES LABELS "gl;media" TIMEOUT 600 COST 120
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
# The same program on a screen of 3840x2160 with Qt's scaling at 2 (RS_DESKTOP_SCALE): placement only.
add_test(NAME tst_mainwindow_desktop_scale2
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/openbox-session.sh --screen 3840x2160x24 $<TARGET_FILE:tst_mainwindow_desktop>
    menusAndDialogsOpenOverTheWindow menusAndDialogsFollowTheMovedWindow)
set_tests_properties(tst_mainwindow_desktop_scale2 PROPERTIES LABELS "gl;media" TIMEOUT 600 COST 60
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;RS_DESKTOP_SCALE=2")
