# The termination signal handlers on their own (built in: the main window's library would bring everything).
rs_add_qtest(tst_mainwindow_signals SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_signals.cpp
  ${PROJECT_SOURCE_DIR}/mainwindow/TerminationSignals.cpp ${PROJECT_SOURCE_DIR}/mainwindow/TerminationSignals.h)
target_include_directories(tst_mainwindow_signals PRIVATE ${PROJECT_SOURCE_DIR}/mainwindow)
