# Shared build helpers.
#
# rs_add_library(<name> [DEPS <targets>...] [EXCLUDE <file names>...])
#   One static library per source folder: every .cpp/.c/.h file directly in the folder (no subfolders, so
#   a folder can keep tools or generated files below it), the folder itself as the public include path.
function(rs_add_library name)
  cmake_parse_arguments(A "" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(ex IN LISTS A_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "/${ex}$")
  endforeach()
  if(NOT srcs)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${A_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_DEPS})
  rs_warnings(${name})
endfunction()

function(rs_warnings target)
  get_target_property(type ${target} TYPE)
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
  endif()
endfunction()

# rs_codec_last(<list variable>)
#   The program's libraries call the codec library but do not link it (each executable picks the shared
#   library, the static archive of its internals or the recording fake). Static libraries resolve left to
#   right, and an executable lists the codec before the libraries that its direct libraries pull in after
#   it: a codec archive is therefore linked whole, so that every later caller finds it. The linker's own flags
#   wrap it (link items keep their order): CMake's WHOLE_ARCHIVE link feature would need CMake 3.24.
function(rs_codec_last var)
  set(out)
  foreach(lib IN LISTS ${var})
    if(lib STREQUAL "codec_internal" OR lib STREQUAL "codec_fake")
      list(APPEND out -Wl,--whole-archive ${lib} -Wl,--no-whole-archive)
    else()
      list(APPEND out ${lib})
    endif()
  endforeach()
  set(${var} ${out} PARENT_SCOPE)
endfunction()

# rs_xvfb_command(<var> <screen WxHxDEPTH>): the command that runs a test on an X server of its own. The server
#   never resets: one that resets when its last client leaves closes under a client that connects just then.
function(rs_xvfb_command var screen)
  set(${var} xvfb-run -a -s "-noreset -screen 0 ${screen}" PARENT_SCOPE)
endfunction()

# rs_add_qtest(<name> SOURCES <files>... [LIBS <targets>...] [GL] [TIMEOUT <s>] [MEDIA] [COST <s>] [SHARDS <n>])
#   One QtTest executable registered with ctest. Tests run on the offscreen platform with a temporary
#   HOME; GL tests run under xvfb-run on a real X server and carry the label "gl".
#   COST: the whole unit's rough run time in seconds on a busy machine (shared among its shards); ctest starts the costliest units first, so
#   the long media units do not begin last (a clean clone has no timings of its own yet).
#   SHARDS: registers <name>_<i>of<n> instead of <name>, each running every n-th unit of work that the test
#   marks with RS_SHARD_UNIT() (tests/support/TestSupport.h), so that ctest runs one long unit in parallel.
#   SCALE2: a GL test registered once more as <name>_scale2, with Qt's scaling at 2 on a screen large enough.
function(rs_add_qtest name)
  cmake_parse_arguments(A "GL;MEDIA;SCALE2" "TIMEOUT;COST;SHARDS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  rs_codec_last(A_LIBS)
  target_link_libraries(${name} PRIVATE rs_testsupport Qt5::Test ${A_LIBS})
  rs_warnings(${name})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  if(NOT A_SHARDS OR A_SHARDS LESS 2)
    set(tests ${name})
    set(cost "${A_COST}")
  else()
    if(A_COST)
      math(EXPR cost "(${A_COST} + ${A_SHARDS} - 1) / ${A_SHARDS}")
    endif()
    set(tests "")
    foreach(i RANGE 1 ${A_SHARDS})
      list(APPEND tests ${name}_${i}of${A_SHARDS})
    endforeach()
  endif()
  set(index 0)
  foreach(test IN LISTS tests)
    math(EXPR index "${index} + 1")
    set(env "QT_QPA_PLATFORM=offscreen")
    if(A_GL)
      rs_xvfb_command(xvfb 1280x1024x24)
      add_test(NAME ${test} COMMAND ${xvfb} $<TARGET_FILE:${name}>)
      set_tests_properties(${test} PROPERTIES LABELS "gl")
      set(env "QT_QPA_PLATFORM=xcb")
    else()
      add_test(NAME ${test} COMMAND ${name})
    endif()
    if(NOT test STREQUAL name)
      list(APPEND env "RS_TEST_SHARD=${index}/${A_SHARDS}")
    endif()
    set_tests_properties(${test} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${A_TIMEOUT})
    if(cost)
      set_tests_properties(${test} PROPERTIES COST ${cost})
    endif()
    if(A_MEDIA)
      set_property(TEST ${test} APPEND PROPERTY LABELS "media")
    endif()
  endforeach()
  if(A_GL AND A_SCALE2)
    rs_xvfb_command(xvfb 2560x2048x24)
    add_test(NAME ${name}_scale2 COMMAND ${xvfb} $<TARGET_FILE:${name}>)
    set_tests_properties(${name}_scale2 PROPERTIES LABELS "gl" TIMEOUT ${A_TIMEOUT}
      ENVIRONMENT "QT_QPA_PLATFORM=xcb;QT_SCALE_FACTOR=2")
    if(A_MEDIA)
      set_property(TEST ${name}_scale2 APPEND PROPERTY LABELS "media")
    endif()
  endif()
endfunction()
