# One helper for every module folder: a shared library korvex_<name>.
#
#   korvex_module(<name>
#     SOURCES <files...>          library sources (headers too, for AUTOMOC)
#     LIBS <targets...>           linked PUBLIC
#     PRIVATE_LIBS <targets...>)  linked PRIVATE: the library's own business, not its users'
function(korvex_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(KORVEX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

function(korvex_module name)
  cmake_parse_arguments(M "" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(korvex_${name} SHARED ${M_SOURCES})
  target_include_directories(korvex_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(korvex_${name} PUBLIC ${M_LIBS} PRIVATE ${M_PRIVATE_LIBS})
  korvex_warnings(korvex_${name})
  install(TARGETS korvex_${name} LIBRARY DESTINATION lib)
endfunction()
