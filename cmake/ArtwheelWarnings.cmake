# Warnings are errors for the project's own targets (not for GoogleTest).
function(artwheel_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wformat=2
                                              -Wcast-align -Wnull-dereference -Werror)
  endif()
endfunction()

function(artwheel_add_gtest_sources)
  if(NOT TARGET gtest_main)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${ARTWHEEL_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # The framework is neither measured nor debugged here: built at -O1 and
    # without debug information it compiles in half the time.
    if(NOT MSVC)
      target_compile_options(gtest PRIVATE -O1 -g0)
      target_compile_options(gtest_main PRIVATE -O1 -g0)
    endif()
  endif()
endfunction()
