# Rules shared by the skins that come with the program.
#
# The images of a skin are drawn by skingen and packed by skintool, build-time tools of the
# native build (cmake/HostTools.cmake); the archives come out byte for byte the same in every
# preset.
include(${CMAKE_SOURCE_DIR}/cmake/HostTools.cmake)
lbb_host_tool(LBB_SKINGEN skingen resources/skin/skingen)
lbb_host_tool(LBB_SKINTOOL skintool tools/skintool/skintool)

# lbb_skin_archive(OUT archive INI file VERSION n GEN args... [EXTRA_OUTPUTS files...])
# Draws the images into a fresh folder, adds the INI, and packs the folder into OUT.
function(lbb_skin_archive)
  cmake_parse_arguments(S "" "OUT;INI;VERSION" "GEN;EXTRA_OUTPUTS" ${ARGN})
  get_filename_component(name ${S_OUT} NAME_WE)
  set(images ${CMAKE_CURRENT_BINARY_DIR}/${name}-images)
  add_custom_command(
    OUTPUT ${S_OUT} ${S_EXTRA_OUTPUTS}
    ${LBB_HOST_TOOLS_STEP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${images}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${images}
    COMMAND ${LBB_SKINGEN} ${S_GEN}
    COMMAND ${CMAKE_COMMAND} -E copy ${S_INI} ${images}/
    COMMAND ${LBB_SKINTOOL} build ${images} ${S_OUT} ${S_VERSION}
    DEPENDS ${S_INI} ${LBB_HOST_TOOL_DEPENDS}
    COMMENT "Drawing and packing skin ${name}"
    VERBATIM)
endfunction()

# lbb_embed(OUT source SYMBOL name FILE file): a C++ source holding the bytes of FILE.
function(lbb_embed)
  cmake_parse_arguments(E "" "OUT;SYMBOL;FILE" "" ${ARGN})
  add_custom_command(
    OUTPUT ${E_OUT}
    COMMAND ${CMAKE_COMMAND} -DIN=${E_FILE} -DOUT=${E_OUT} -DSYMBOL=${E_SYMBOL}
            -P ${CMAKE_SOURCE_DIR}/resources/skin/embed.cmake
    DEPENDS ${E_FILE} ${CMAKE_SOURCE_DIR}/resources/skin/embed.cmake
    VERBATIM)
endfunction()

# lbb_skin_preview(SKIN archive OUT png): the preview sheet of a skin, for people to look at
# (native builds, where skintool runs).
function(lbb_skin_preview)
  cmake_parse_arguments(P "" "SKIN;OUT" "" ${ARGN})
  if(CMAKE_CROSSCOMPILING)
    return()
  endif()
  get_filename_component(name ${P_OUT} NAME_WE)
  add_custom_command(OUTPUT ${P_OUT} COMMAND skintool preview ${P_SKIN} ${P_OUT}
                     DEPENDS ${P_SKIN} skintool COMMENT "Drawing ${name}" VERBATIM)
  add_custom_target(${name} ALL DEPENDS ${P_OUT})
endfunction()
