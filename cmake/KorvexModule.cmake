# One helper for every module folder: a shared library korvex_<name>.
#
#   korvex_module(<name>
#     SOURCES <files...>          library sources (headers too, for AUTOMOC)
#     LIBS <targets...>           linked PUBLIC: what the module's headers expose
#     PRIVATE_LIBS <targets...>   linked PRIVATE: what only its sources use
#     PLAIN)                      without the shared precompiled header (own flags, no Qt)
include(GenerateExportHeader)

function(korvex_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(KORVEX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# The Qt and fmt headers nearly every module reads, compiled once for all of them. It
# needs the flags of the shared libraries that reuse it.
file(WRITE ${PROJECT_BINARY_DIR}/korvex_pch.cpp "// Compiles the shared precompiled header only.\n")
add_library(korvex_pch STATIC ${PROJECT_BINARY_DIR}/korvex_pch.cpp)
set_target_properties(korvex_pch PROPERTIES POSITION_INDEPENDENT_CODE ON AUTOMOC OFF
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
target_link_libraries(korvex_pch PRIVATE Qt5::Widgets fmt::fmt)
korvex_warnings(korvex_pch)
target_precompile_headers(korvex_pch PRIVATE
  <QObject> <QString> <QStringList> <QVariant> <QWidget> <QAction> <QMenu> <QLabel>
  <QPushButton> <QVBoxLayout> <QHBoxLayout> <QTimer> <QFileInfo> <QDir>
  <functional> <map> <memory> <optional> <string> <vector>
  <fmt/core.h>)

function(korvex_module name)
  cmake_parse_arguments(M "PLAIN" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(korvex_${name} SHARED ${M_SOURCES})
  target_include_directories(korvex_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  # Another library sees only what this one marks with its export macro
  # (KORVEX_<NAME>_EXPORT from korvex/<folder>/<name>_export.h): the public API is stated
  # in the headers, and the symbol tables the loader resolves at start-up stay small.
  set_target_properties(korvex_${name} PROPERTIES
    C_VISIBILITY_PRESET hidden CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  generate_export_header(korvex_${name} BASE_NAME korvex_${name}
    EXPORT_FILE_NAME ${PROJECT_BINARY_DIR}/exports/${folder}/${name}_export.h)
  target_include_directories(korvex_${name} PUBLIC ${PROJECT_BINARY_DIR}/exports)
  target_link_libraries(korvex_${name} PUBLIC ${M_LIBS} PRIVATE ${M_PRIVATE_LIBS})
  korvex_warnings(korvex_${name})
  if(NOT M_PLAIN)
    target_precompile_headers(korvex_${name} REUSE_FROM korvex_pch)
  endif()
  install(TARGETS korvex_${name} LIBRARY DESTINATION lib)
endfunction()
