# Helpers for the headers the configure step writes into the build tree.

# VALUE as a C++ string literal; ? is escaped so that no ?? sequence reads as a trigraph.
function(kivo_string_literal out value)
  string(REPLACE "\\" "\\\\" literal "${value}")
  string(REPLACE "\"" "\\\"" literal "${literal}")
  string(REPLACE "?" "\\?" literal "${literal}")
  set(${out} "\"${literal}\"" PARENT_SCOPE)
endfunction()

# Writes CONTENT to HEADER only when it changed, so that a new configure step does not rebuild what
# includes it.
function(kivo_write_header header content)
  if(EXISTS "${header}")
    file(READ "${header}" old)
    if(old STREQUAL content)
      return()
    endif()
  endif()
  file(WRITE "${header}" "${content}")
endfunction()
