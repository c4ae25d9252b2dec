# One library target per module. Sources are picked up from the module's folder so that adding a file
# needs no build edit; a module with no sources yet still yields a (empty) library.
function(kivo_module target dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.h")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  set(has_cpp FALSE)
  foreach(s IN LISTS sources)
    if(s MATCHES "\\.cpp$")
      set(has_cpp TRUE)
    endif()
  endforeach()
  if(NOT has_cpp)
    set(stub "${CMAKE_CURRENT_BINARY_DIR}/${target}_empty.cpp")
    file(WRITE "${stub}" "// This module has no compiled sources yet.\nnamespace kivo {}\n")
    list(APPEND sources "${stub}")
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC "${CMAKE_SOURCE_DIR}/src")
  # moc's incremental step only watches the files it saw last time: when the module's file list changes,
  # drop its time stamp so a newly added header reaches moc.
  set(listing "${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.txt")
  set(old_listing "")
  if(EXISTS "${listing}")
    file(READ "${listing}" old_listing)
  endif()
  if(NOT old_listing STREQUAL "${sources}")
    file(WRITE "${listing}" "${sources}")
    file(REMOVE "${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp")
  endif()
endfunction()

# One test program per module folder under tests/, discovered by CTest.
function(kivo_tests target dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARGN})
  gtest_discover_tests(${target}
    DISCOVERY_TIMEOUT 60
    NO_PRETTY_VALUES
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endfunction()
