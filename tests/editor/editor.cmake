# The clip editor's pages and dialogs, driven as a user would on real generated media (under Xvfb).
add_library(rs_editor_testkit STATIC ${CMAKE_CURRENT_LIST_DIR}/EditorTestKit.cpp ${CMAKE_CURRENT_LIST_DIR}/EditorTestKit.h)
target_include_directories(rs_editor_testkit PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(rs_editor_testkit PUBLIC rs_testsupport editor editmodel playback Qt5::Widgets Qt5::Test)

foreach(unit tagpage capturedlg adjustpage audiopage subtitlepage packages editfilerefusal)
  rs_add_qtest(tst_editor_${unit} GL SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_${unit}.cpp
    LIBS editor rs_editor_testkit editmodel playback merge codec MEDIA TIMEOUT 240)
  add_dependencies(tst_editor_${unit} skin_images package_images bundle_resources)
endforeach()
