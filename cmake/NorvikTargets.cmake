# norvik_add_library(NAME SOURCES... [LIBS libs...])
#   One static library per layer; include paths are relative to the project root.
function(norvik_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# norvik_add_test(NAME SOURCES... [LIBS libs...] [ENV VAR=VALUE...])
#   A GoogleTest program found by gtest_discover_tests. Every test sees the built program
#   folder (skin/, DefaultData/) and an offscreen Qt platform.
function(norvik_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set(environment
    "NORVIK_PROGRAM_DIR=${NORVIK_BIN_DIR}" "QT_QPA_PLATFORM=offscreen"
    "NORVIK_TEST_OUTPUT=${CMAKE_BINARY_DIR}/tests/output"
    "NORVIK_TESTDATA=${PROJECT_SOURCE_DIR}/../shared/testdata" ${ARG_ENV})
  if(NORVIK_SANITIZE MATCHES "thread")
    list(APPEND environment "TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/tsan_suppressions.txt")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 30)
  # Discovered tests get their properties through a generated script that splits a list value
  # into separate property names, so the environment is set afterwards on the discovered names.
  set(environment_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
  file(WRITE ${environment_file}
    "if(${name}_TESTS)\n"
    "  set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT [==[${environment}]==])\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${environment_file})
endfunction()

# norvik_add_fuzzer(NAME SOURCES... [LIBS libs...])
#   A libFuzzer target, built by the fuzz preset into build-fuzz/fuzz/ and run by scripts/fuzz.
#   Seeds may be placed in fuzz/corpus/NAME/.
function(norvik_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  if(NOT TARGET fuzzers)
    add_custom_target(fuzzers)
  endif()
  add_dependencies(fuzzers ${name})
endfunction()
