# One helper for every module folder: a shared library korvex_<name>, and for each
# test source a QtTest executable registered with CTest.
#
#   korvex_module(<name>
#     SOURCES <files...>          library sources (headers too, for AUTOMOC)
#     LIBS <targets...>           linked PUBLIC
#     TESTS <tst_*.cpp...>        one executable per file, run by ctest
#     TEST_LIBS <targets...>      extra libraries for the tests
#     TEST_ENVIRONMENT <VAR=..>)  environment of the tests
function(korvex_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(KORVEX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Tests run with a home folder of their own: they never write into the user's documents,
# and shells they start do not run the user's start-up files.
set(KORVEX_TEST_HOME ${PROJECT_BINARY_DIR}/test-home)
file(MAKE_DIRECTORY ${KORVEX_TEST_HOME})

function(korvex_test module)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  foreach(source IN LISTS T_SOURCES)
    get_filename_component(stem ${source} NAME_WE)
    set(exe ${module}_${stem})
    add_executable(${exe} ${source})
    target_link_libraries(${exe} PRIVATE Qt5::Test korvex_testsupport ${T_LIBS})
    korvex_warnings(${exe})
    add_test(NAME ${exe} COMMAND ${exe})
    set_tests_properties(${exe} PROPERTIES
      ENVIRONMENT "QT_LOGGING_RULES=qt.qpa.*=false;KORVEX_LOG_FILE=;HOME=${KORVEX_TEST_HOME};${T_ENVIRONMENT}"
      TIMEOUT 300)
  endforeach()
endfunction()

function(korvex_module name)
  cmake_parse_arguments(M "" "" "SOURCES;LIBS;TESTS;TEST_LIBS;TEST_ENVIRONMENT" ${ARGN})
  add_library(korvex_${name} SHARED ${M_SOURCES})
  target_include_directories(korvex_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(korvex_${name} PUBLIC ${M_LIBS})
  korvex_warnings(korvex_${name})
  install(TARGETS korvex_${name} LIBRARY DESTINATION lib)
  if(M_TESTS)
    korvex_test(${name} SOURCES ${M_TESTS} LIBS korvex_${name} ${M_TEST_LIBS}
                ENVIRONMENT ${M_TEST_ENVIRONMENT})
  endif()
endfunction()
