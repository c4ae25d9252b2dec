# The addresses a build compiles into the program. Each one reaches the program exactly as given, through
# a generated header, or the configure step stops naming the setting: a value that is not a sound http or
# https address would otherwise make a link vanish at run time.

include(${CMAKE_CURRENT_LIST_DIR}/KivoGeneratedHeader.cmake)

set(KIVO_LINK_SETTINGS KIVO_FEEDBACK_URL KIVO_FEEDBACK_URL_JA KIVO_PRIVACY_SITE KIVO_BRIGHTNESS_LIBRARY_URL
    KIVO_SENTRY_DSN)

# Stops with an error naming NAME unless VALUE is empty or an http or https address with a host, written
# only in the characters an address may hold (RFC 3986): no space, quote, backslash, control or non-ASCII
# character, and every % starting an escape.
function(kivo_check_link_setting name value)
  if(value STREQUAL "")
    return()
  endif()
  set(problem "")
  string(REGEX REPLACE "%[0-9A-Fa-f][0-9A-Fa-f]" "" unescaped "${value}")
  if(NOT value MATCHES "^https?://[^/?#]")
    set(problem "it must start with http:// or https:// and a host")
  elseif(NOT unescaped MATCHES "^[]A-Za-z0-9._~:/?#@!$&'()*+,;=[-]*$")
    set(problem "it holds a character an address cannot hold (a space, a quote, a backslash, a control or \
non-ASCII character, or a % that does not start an escape); percent-encode it")
  endif()
  if(NOT problem STREQUAL "")
    message(FATAL_ERROR "${name} is not a usable address: ${problem}. Got '${value}'; leave it empty to "
                        "build without it.")
  endif()
endfunction()

# Checks every link setting and writes them to HEADER as C++ string literals, one macro each.
function(kivo_write_link_settings header)
  set(content "// Written by cmake/KivoLinkSettings.cmake from the build's link settings.\n#pragma once\n")
  foreach(name IN LISTS KIVO_LINK_SETTINGS)
    set(value "${${name}}")
    kivo_check_link_setting(${name} "${value}")
    kivo_string_literal(literal "${value}")
    string(APPEND content "#define ${name} ${literal}\n")
  endforeach()
  kivo_write_header("${header}" "${content}")
endfunction()
