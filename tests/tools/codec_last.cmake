# rs_codec_last links a codec archive whole: a small project of its own, configured at the CMake version this
# build declares as its minimum, links an archive that only a library after it calls, and runs.
add_test(NAME tst_tools_codec_last
  COMMAND ${CMAKE_CTEST_COMMAND} --build-and-test ${CMAKE_CURRENT_LIST_DIR}/codec_last
    ${CMAKE_CURRENT_BINARY_DIR}/codec_last --build-generator ${CMAKE_GENERATOR}
    --build-options -DRS_CMAKE_MINIMUM=${CMAKE_MINIMUM_REQUIRED_VERSION} -DRS_MODULES=${CMAKE_SOURCE_DIR}/cmake
    --test-command codec_last_probe)
set_tests_properties(tst_tools_codec_last PROPERTIES TIMEOUT 120)
