# cmake -DBUILD_DIR=<build tree> -DPREFIX=<empty place> -P check_install.cmake
# Installs the build into PREFIX, moves nothing else there, runs the installed program
# once (writing the empty viewer's picture) and reads its log: the shipped plug-in must
# have been loaded from PREFIX.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} --strip
                OUTPUT_QUIET RESULT_VARIABLE installed)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()

set(ENV{KORVEX_LOG_FILE} ${PREFIX}/korvex.log)
execute_process(COMMAND ${PREFIX}/bin/korvex --export ${PREFIX}/picture.png --size 200x150
                RESULT_VARIABLE ran ERROR_VARIABLE errors OUTPUT_VARIABLE output)
if(NOT ran EQUAL 0)
  message(FATAL_ERROR "the installed korvex failed (${ran}):\n${output}${errors}")
endif()
file(READ ${PREFIX}/korvex.log log)
string(FIND "${log}" "Plug-in \"Data Mode\" (PluginMenuBar) loaded from ${PREFIX}/plugins/korvex_plugins/" found)
if(found EQUAL -1)
  message(FATAL_ERROR "the installed korvex did not load its plug-in:\n${log}")
endif()
file(REMOVE_RECURSE ${PREFIX})
