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

# kv_add_qtest(NAME SOURCES... LIBS... [DEPENDS targets...]): a Qt Test program for widgets
# (one test class, QTEST_MAIN), run on the offscreen platform and registered with CTest as one
# test.
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
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()

# kv_add_fuzzer(NAME SOURCES... LIBS... [SEEDS folder] [DICT file]): a libFuzzer target, built
# only by the fuzz preset. Its seeds are corpus/NAME beside the calling CMakeLists.txt unless
# SEEDS names another folder. fuzz/NAME.sh runs it on them (with the dictionary): new inputs go
# to corpus/NAME in the build folder, findings to findings/; scripts/fuzz calls it.
function(kv_add_fuzzer name)
  if(NOT KV_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "SEEDS;DICT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/fuzz")
  # The model logs the pixels of every picture it reads into the program folder's debug log;
  # thousands of inputs a second would fill the disk.
  file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/fuzz/Log")
  file(CREATE_LINK /dev/null "${CMAKE_BINARY_DIR}/fuzz/Log/debug.log" SYMBOLIC)

  set(seeds "${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name}")
  if(F_SEEDS)
    set(seeds "${F_SEEDS}")
  endif()
  if(NOT IS_DIRECTORY "${seeds}")
    message(FATAL_ERROR "fuzzer ${name}: no seed folder ${seeds}")
  endif()
  set(dict "")
  if(F_DICT)
    set(dict "'-dict=${F_DICT}' ")
  endif()
  set(work "${CMAKE_BINARY_DIR}/corpus/${name}")
  set(findings "${CMAKE_BINARY_DIR}/findings")
  file(GENERATE OUTPUT "${CMAKE_BINARY_DIR}/fuzz/${name}.sh"
    CONTENT "#!/bin/sh\nmkdir -p '${work}' '${findings}'\nexec '$<TARGET_FILE:${name}>' \
'-artifact_prefix=${findings}/${name}-' ${dict}\"$@\" '${work}' '${seeds}'\n"
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                     WORLD_READ WORLD_EXECUTE)
endfunction()
