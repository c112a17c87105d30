# Builds the probe that includes the simulation from a logic source; passes only when the compiler
# reports that header as not found.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target logic_include_probe
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result EQUAL 0)
  message(FATAL_ERROR "a logic source could include sim/world/World.h")
endif()
if(NOT output MATCHES "sim/world/World.h: No such file")
  message(FATAL_ERROR "the probe failed for another reason:\n${output}")
endif()
