# Writes and installs the desktop entry at install time. The entry names the
# installed program and the folder of the rules file by absolute paths, and
# those depend on the prefix of this installation (`cmake --install --prefix`,
# or /usr when CPack stages a package), which is only known now.
#
# Set by the install rule: JORV_ENTRY_TEMPLATE, JORV_ENTRY_NAME (the installed
# file's name), JORV_ENTRY_WORK (a folder in the build tree), JORV_BINDIR,
# JORV_RULESDIR and JORV_APPLICATIONSDIR (as GNUInstallDirs gives them:
# relative to the prefix, or absolute).

function(jorv_full_path dir out)
  if(NOT IS_ABSOLUTE "${dir}")
    set(dir "${CMAKE_INSTALL_PREFIX}/${dir}")
  endif()
  cmake_path(ABSOLUTE_PATH dir NORMALIZE)
  string(REGEX REPLACE "(.)/$" "\\1" dir "${dir}")
  if(dir MATCHES "[\r\n]")
    message(FATAL_ERROR "A desktop entry cannot name the folder \"${dir}\"")
  endif()
  set(${out} "${dir}" PARENT_SCOPE)
endfunction()

# A string value escapes its backslashes.
function(jorv_entry_string text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

jorv_full_path("${JORV_BINDIR}" bindir)
jorv_full_path("${JORV_RULESDIR}" rulesdir)
jorv_full_path("${JORV_APPLICATIONSDIR}" applicationsdir)

# Exec is a command line: a program path with reserved characters is quoted,
# with " ` $ and \ escaped inside the quotes, and % is doubled.
set(program "${bindir}/hyperjorv")
string(REPLACE "%" "%%" program "${program}")
if(program MATCHES "[ \t\"'\\><~|&;$*?#()`]")
  string(REGEX REPLACE "([\"`$\\])" "\\\\\\1" program "${program}")
  set(program "\"${program}\"")
endif()
jorv_entry_string("${program}" JORV_EXEC)
jorv_entry_string("${rulesdir}" JORV_PATH)

# The entry is written to a work file named for the destination, so that
# installations from one build tree into different places at the same time do
# not write the same file.
string(SHA1 key "$ENV{DESTDIR}|${CMAKE_INSTALL_PREFIX}")
set(entry "${JORV_ENTRY_WORK}/${key}.desktop")
configure_file("${JORV_ENTRY_TEMPLATE}" "${entry}" @ONLY)
file(INSTALL DESTINATION "${applicationsdir}" TYPE FILE
     RENAME "${JORV_ENTRY_NAME}" FILES "${entry}")
file(REMOVE "${entry}")
