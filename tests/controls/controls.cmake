# The skinned control library.
foreach(unit imagedraw framelesswindow messagebox buttons progress editfields combobox menu gallery)
  if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/tst_${unit}.cpp)
    rs_add_qtest(tst_controls_${unit} SOURCES tst_${unit}.cpp ControlTestImages.h LIBS controls)
    if(TARGET skin_images)
      add_dependencies(tst_controls_${unit} skin_images)
    endif()
  endif()
endforeach()
