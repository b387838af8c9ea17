# GoogleTest from the sources Debian's googletest package ships, built with the
# same toolchain as the code under test.
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# One ctest entry per test program: each start of a program under Wine costs
# about a second, so cases are grouped per program rather than run one by one.
#   add_gtest(name SOURCES ... [LIBS ...] [WITH files...] [FIXTURES ...])
# WITH copies files next to the program in the Wine prefix.
function(add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;WITH;FIXTURES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  if(T_WITH AND WIN32)
    set(with)
    foreach(file ${T_WITH})
      list(APPEND with --with ${file})
    endforeach()
    add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-run --prefix ${WINE_PREFIX} ${with}
                                  $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  if(T_FIXTURES)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "${T_FIXTURES}")
  endif()
endfunction()
