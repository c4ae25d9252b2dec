# Kivo's install rules go through these functions, which also record every path the rule puts under the
# prefix. At the end of the configure step the record becomes a generated header, so the uninstall knows
# exactly what an install left there: a new rule cannot be forgotten by it.
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/KivoGeneratedHeader.cmake)

set(KIVO_INSTALL_LAYOUT_HEADER "${CMAKE_BINARY_DIR}/generated/KivoInstallLayout.h")

# A destination outside the prefix (an absolute one a packager chose) is not recorded: the program could
# not find it from where it runs.
function(kivo_record_installed property destination name)
  if(NOT IS_ABSOLUTE "${destination}")
    set_property(GLOBAL APPEND PROPERTY ${property} "${destination}/${name}")
  endif()
endfunction()

# Installs TARGET as the program, in the binary directory.
function(kivo_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set_property(GLOBAL PROPERTY KIVO_INSTALLED_PROGRAM "")
  kivo_record_installed(KIVO_INSTALLED_PROGRAM "${CMAKE_INSTALL_BINDIR}" "${name}${CMAKE_EXECUTABLE_SUFFIX}")
  kivo_record_installed(KIVO_INSTALLED_FILES "${CMAKE_INSTALL_BINDIR}" "${name}${CMAKE_EXECUTABLE_SUFFIX}")
endfunction()

# kivo_install_files(FILES <file>... DESTINATION <dir> [RENAME <name>] [OWN_FOLDER])
# OWN_FOLDER: the destination holds Kivo's files alone, so the uninstall removes it once it is empty.
# Shared folders (bin, share/applications) are never removed.
function(kivo_install_files)
  cmake_parse_arguments(PARSE_ARGV 0 arg "OWN_FOLDER" "DESTINATION;RENAME" "FILES")
  if(arg_RENAME)
    install(FILES ${arg_FILES} DESTINATION "${arg_DESTINATION}" RENAME "${arg_RENAME}")
    kivo_record_installed(KIVO_INSTALLED_FILES "${arg_DESTINATION}" "${arg_RENAME}")
  else()
    install(FILES ${arg_FILES} DESTINATION "${arg_DESTINATION}")
    foreach(file IN LISTS arg_FILES)
      get_filename_component(name "${file}" NAME)
      kivo_record_installed(KIVO_INSTALLED_FILES "${arg_DESTINATION}" "${name}")
    endforeach()
  endif()
  if(arg_OWN_FOLDER AND NOT IS_ABSOLUTE "${arg_DESTINATION}")
    set_property(GLOBAL APPEND PROPERTY KIVO_INSTALLED_FOLDERS "${arg_DESTINATION}")
  endif()
endfunction()

# The paths in PROPERTY as C++ string literals separated by commas.
function(kivo_install_literals out property)
  get_property(paths GLOBAL PROPERTY ${property})
  set(literals "")
  foreach(path IN LISTS paths)
    kivo_string_literal(literal "${path}")
    list(APPEND literals "${literal}")
  endforeach()
  list(JOIN literals ", " literals)
  set(${out} "${literals}" PARENT_SCOPE)
endfunction()

function(kivo_write_install_layout)
  kivo_install_literals(program KIVO_INSTALLED_PROGRAM)
  kivo_install_literals(files KIVO_INSTALLED_FILES)
  kivo_install_literals(folders KIVO_INSTALLED_FOLDERS)
  kivo_string_literal(datadir "${CMAKE_INSTALL_DATADIR}")
  if(program STREQUAL "")
    set(program "\"\"")
  endif()
  set(content "// Written by cmake/KivoInstall.cmake from the install rules: paths relative to the prefix.
#pragma once
#define KIVO_INSTALLED_PROGRAM ${program}
#define KIVO_INSTALLED_FILES ${files}
#define KIVO_INSTALLED_FOLDERS ${folders}
#define KIVO_INSTALL_DATADIR ${datadir}
")
  kivo_write_header("${KIVO_INSTALL_LAYOUT_HEADER}" "${content}")
endfunction()

# After every directory has added its rules.
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL kivo_write_install_layout)
