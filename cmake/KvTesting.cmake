# Test, fuzz and benchmark targets share a few conventions; these helpers keep them in one place.
# Test programs go to build/tests, not into the program folder.

set(KV_TEST_DIR "${CMAKE_BINARY_DIR}/tests")

# kv_add_gtest(NAME SOURCES... LIBS... [DEPENDS targets...]): a GoogleTest program registered
# with CTest; DEPENDS names programs the test runs, so they are built first.
function(kv_add_gtest name)
  if(NOT KV_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;DEPENDS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests/support")
  target_compile_definitions(${name} PRIVATE
    KV_BIN_DIR="${KV_BIN_DIR}" KV_TEST_DIR="${KV_TEST_DIR}" KV_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${KV_TEST_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# kv_add_qtest(NAME SOURCES... LIBS... [DEPENDS targets...]): a Qt Test program registered as
# one CTest test, run on the offscreen platform.
function(kv_add_qtest name)
  if(NOT KV_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;DEPENDS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test)
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests/support")
  target_compile_definitions(${name} PRIVATE
    KV_BIN_DIR="${KV_BIN_DIR}" KV_TEST_DIR="${KV_TEST_DIR}" KV_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${KV_TEST_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# kv_add_fuzzer(NAME SOURCES... LIBS...): a libFuzzer target, built only by the fuzz preset.
function(kv_add_fuzzer name)
  if(NOT KV_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/fuzz")
endfunction()
