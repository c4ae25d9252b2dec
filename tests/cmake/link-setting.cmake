# cmake -DSETTING=NAME -DVALUE=ADDRESS -DWORK=DIR -DCXX=COMPILER -P link-setting.cmake
# Writes the link settings' header with SETTING set to VALUE, as the configure step does, and compiles a
# check that the program receives VALUE unchanged, under the project's warnings. A value the configure
# step refuses ends here with its error.
cmake_minimum_required(VERSION 3.25) # the project's policies, as at configure
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/KivoLinkSettings.cmake")
set(${SETTING} "${VALUE}")
kivo_write_link_settings("${WORK}/KivoLinkSettings.h")
file(WRITE "${WORK}/check.cpp" "#include \"KivoLinkSettings.h\"\n#include <string_view>\n"
  "static_assert(std::string_view(${SETTING}) == std::string_view(R\"kivo(${VALUE})kivo\"));\n")
execute_process(COMMAND "${CXX}" -std=c++20 -Wall -Wextra -Wpedantic -Werror -fsyntax-only
  -I "${WORK}" "${WORK}/check.cpp" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${SETTING} did not reach the program unchanged")
endif()
message("${SETTING} reaches the program unchanged")
