# The bundle directory in the build tree: Contents/MacOS (the executable), Contents/Resources (authored
# resources copied from resources/, skin images drawn by tools/skingen), Contents/Info.plist (generated
# with the version keys) and Contents/Frameworks.
configure_file(${CMAKE_SOURCE_DIR}/cmake/Info.plist.in ${RS_CONTENTS_DIR}/Info.plist @ONLY)

add_custom_target(bundle_resources ALL
  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/resources -DDST=${RS_RESOURCES_DIR}
          -P ${CMAKE_SOURCE_DIR}/cmake/CopyResources.cmake
  COMMENT "Copying resources into the bundle")
