cmake_minimum_required(VERSION 3.25)
# Installs the build into a fresh prefix and checks what a desktop needs:
# the program, its icons and a launcher that takes a dropped fan file.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(file bin/tobirex
             share/icons/hicolor/16x16/apps/tobirex.png
             share/icons/hicolor/32x32/apps/tobirex.png
             share/icons/hicolor/scalable/apps/tobirex.svg
             share/applications/tobirex.desktop)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(READ ${PREFIX}/share/applications/tobirex.desktop entry)
# A semicolon would split a CMake list: the MimeType line carries a placeholder.
foreach(line "[Desktop Entry]" "Type=Application" "Exec=tobirex %f" "Icon=tobirex" "MimeType=text/plain<SEMI>")
  string(REPLACE "<SEMI>" ";" line "${line}")
  string(FIND "\n${entry}" "\n${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "tobirex.desktop lacks the line: ${line}")
  endif()
endforeach()
execute_process(COMMAND ${PREFIX}/bin/tobirex --version OUTPUT_VARIABLE version RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT version STREQUAL "Harumado 1.03\n")
  message(FATAL_ERROR "installed tobirex --version: ${rc} '${version}'")
endif()
