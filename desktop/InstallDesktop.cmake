# Run by cmake --install: generates the demo city and writes the menu entry for the prefix being
# installed to. Both are recorded in the install manifest like every other installed file.
set(prefix "${CMAKE_INSTALL_PREFIX}")
set(root "$ENV{DESTDIR}${prefix}")
set(city "${prefix}/${KVIRZETA_DATADIR}/kvirzeta/democity")

file(REMOVE_RECURSE "$ENV{DESTDIR}${city}")
message(STATUS "Generating: $ENV{DESTDIR}${city}")
execute_process(COMMAND "${KVIRZETA_DEMOCITY_GENERATOR}" "$ENV{DESTDIR}${city}" --quiet
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "The demo city could not be generated (${result})")
endif()
file(GLOB_RECURSE city_files "$ENV{DESTDIR}${city}/*")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES ${city_files})

# Exec takes its program in double quotes, with ", `, $ and \ escaped; every value of the entry
# escapes \ once more.
set(exec "${prefix}/${KVIRZETA_BINDIR}/kvirzeta")
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REGEX REPLACE "([\"`$])" "\\\\\\1" exec "${exec}")
string(REPLACE "\\" "\\\\" KVIRZETA_EXEC "\"${exec}\"")
string(REPLACE "\\" "\\\\" KVIRZETA_CITY "${city}")
set(entry "${root}/${KVIRZETA_DATADIR}/applications/kvirzeta.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${KVIRZETA_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")
