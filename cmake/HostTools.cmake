# Programs that run at build time on the build machine: skingen (draws the skins' images),
# skintool (packs them) and icongen (draws the program's icon). One way for all three: the
# native presets build them as targets of their own tree; the cross presets (Windows) run the
# native tree's programs (LBB_NATIVE_BUILD_DIR, build/native), configuring that tree when it
# is missing and bringing the three up to date before each use (NativeTools.cmake).
#
#   lbb_host_tool(VAR target path)  VAR names the program for add_custom_command: the target
#                                   natively, the native tree's file `path` when cross-building
#   LBB_HOST_TOOLS_STEP             a COMMAND to put first in a custom command that uses them
#   LBB_HOST_TOOL_DEPENDS           what such a command DEPENDS on

if(CMAKE_CROSSCOMPILING)
  set(LBB_HOST_TOOLS_STEP COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
      -DNATIVE_DIR=${LBB_NATIVE_BUILD_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/NativeTools.cmake)
  # Rerun when any source of the tools changes.
  file(GLOB_RECURSE LBB_HOST_TOOL_DEPENDS CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/resources/*.cpp ${CMAKE_SOURCE_DIR}/resources/*.h
       ${CMAKE_SOURCE_DIR}/tools/skintool/*.cpp ${CMAKE_SOURCE_DIR}/tools/skintool/*.h
       ${CMAKE_SOURCE_DIR}/skin/data/*.cpp ${CMAKE_SOURCE_DIR}/skin/data/*.h
       ${CMAKE_SOURCE_DIR}/base/*.cpp ${CMAKE_SOURCE_DIR}/base/*.h)
else()
  set(LBB_HOST_TOOLS_STEP)
  set(LBB_HOST_TOOL_DEPENDS skingen skintool icongen)
endif()

function(lbb_host_tool var target path)
  if(CMAKE_CROSSCOMPILING)
    set(${var} ${LBB_NATIVE_BUILD_DIR}/${path} PARENT_SCOPE)
  else()
    set(${var} ${target} PARENT_SCOPE)
  endif()
endfunction()
