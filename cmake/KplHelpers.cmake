# Warnings for our own targets only; never for third-party code.
function(kpl_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(KPL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# kpl_library(NAME ALIAS SOURCES ... DEPS ...)
# One static layer library with a KPL:: alias; headers are included as
# "Folder/Header.h" from the source root.
function(kpl_library name)
  cmake_parse_arguments(ARG "" "ALIAS" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  add_library(KPL::${ARG_ALIAS} ALIAS ${name})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/kplpredicted>)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  kpl_warnings(${name})
endfunction()

# kpl_test(NAME SOURCES ... DEPS ...): one GoogleTest program, its cases
# registered with CTest.
function(kpl_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} kpl_test_support GTest::gtest GTest::gtest_main)
  kpl_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "KPL_SHARED_DIR=${KPL_SHARED_DIR}")
endfunction()
