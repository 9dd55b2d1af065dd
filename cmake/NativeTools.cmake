# cmake -DSOURCE_DIR=... -DNATIVE_DIR=... -P NativeTools.cmake
# Makes sure the native build tree exists and its build-time tools (skingen, skintool,
# icongen) are up to date. Cross builds run these native programs to draw the icon and to
# draw and pack the skins: the outputs are the same bytes whichever preset builds them, and no
# emulator is needed.
if(NOT EXISTS "${NATIVE_DIR}/CMakeCache.txt")
  execute_process(COMMAND "${CMAKE_COMMAND}" --preset native WORKING_DIRECTORY "${SOURCE_DIR}"
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cannot configure the native build in ${NATIVE_DIR}")
  endif()
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${NATIVE_DIR}" --target skingen skintool icongen
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot build the native build-time tools in ${NATIVE_DIR}")
endif()
