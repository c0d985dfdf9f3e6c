# Helpers shared by the folders. Sources are collected per folder so that a new
# file pair needs no edit of a CMake list.

# qv_sources(<var> <dir>...): every .cpp/.h under the given folders.
function(qv_sources out)
  set(all)
  foreach(dir IN LISTS ARGN)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS
      ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.h)
    list(APPEND all ${found})
  endforeach()
  set(${out} ${all} PARENT_SCOPE)
endfunction()

# qv_test(<name> SOURCES dirs... LIBS libs...): one GoogleTest program per
# folder of tests/, discovered by ctest when it runs.
function(qv_test name)
  cmake_parse_arguments(T "" "" "DIRS;LIBS" ${ARGN})
  qv_sources(srcs ${T_DIRS})
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  qv_precompile(${name} Tests)
  target_link_libraries(${name} PRIVATE qv_testsupport ${T_LIBS} GTest::gtest GTest::gmock)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    # One variable: a list here would be split into properties of its own.
    # The test main sets the rest (TestMain.cpp).
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

# qv_precompile(<target> <Common|Widgets|Tests>): the target's sources start
# from a precompiled header of what nearly all of them include.
function(qv_precompile target kind)
  if(QV_PCH)
    target_precompile_headers(${target} PRIVATE ${CMAKE_SOURCE_DIR}/cmake/pch/${kind}.h)
  endif()
endfunction()
