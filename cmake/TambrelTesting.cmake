# Test layers:
#   native  GoogleTest unit tests and libFuzzer targets, run on the host
#   wine    GoogleTest programs of the Win32 adapters, run under Wine (both Windows builds)
#   e2e     scenarios that drive the real programs under Wine and Xvfb (both Windows builds)
enable_testing()

set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Both Windows builds run their Windows-side tests and scenarios under Wine: the 64-bit one
# always, the 32-bit one where 32-bit Wine can run (a kernel that runs 32-bit programs, and the
# package wine32:i386, which scripts/setup.sh installs only there). Otherwise the 32-bit build
# says why in not-run.txt, and scripts/test-all.sh prints it.
set(TAMBREL_RUNS_WINDOWS OFF)
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TAMBREL_RUNS_WINDOWS ON)
elseif(WIN32)
  execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/kernel-runs-32bit.sh
    RESULT_VARIABLE kernel_result OUTPUT_VARIABLE why OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT kernel_result EQUAL 0)
    set(no_run_reason "${why}")
  elseif(NOT EXISTS /usr/lib/wine/wine)
    set(no_run_reason "32-bit Wine is not installed (package wine32:i386; scripts/setup.sh installs it)")
  else()
    set(TAMBREL_RUNS_WINDOWS ON)
  endif()
  if(TAMBREL_RUNS_WINDOWS)
    file(REMOVE ${CMAKE_BINARY_DIR}/not-run.txt)
  else()
    message(STATUS "The 32-bit programs are built and checked, not run: ${no_run_reason}")
    file(WRITE ${CMAKE_BINARY_DIR}/not-run.txt "${no_run_reason}\n")
  endif()
endif()

set(TAMBREL_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
set(TAMBREL_TEST_BIN_DIR ${CMAKE_BINARY_DIR}/test-bin)

# tambrel_add_native_test(<name> SOURCES ... LIBS ...)
function(tambrel_add_native_test name)
  if(WIN32)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TAMBREL_TEST_BIN_DIR})
  add_test(NAME native.${name} COMMAND ${name})
  set_tests_properties(native.${name} PROPERTIES TIMEOUT 300)
endfunction()

# tambrel_add_fuzz_target(<name> SOURCES ... LIBS ... FLOOR <n>): built with libFuzzer, run for a
# bounded time. The code it feeds is compiled with coverage hooks (TambrelBuild.cmake), so libFuzzer
# sees it; the test fails when the edges the run reached in that code (the project's code outside
# tests/) stay below FLOOR, a figure measured on a run of the target, well above the few that a
# build without the hooks shows (tests/fuzz_coverage_floor.py). The run starts from the seeds in
# fuzz_seeds/<name> beside the target, where there are any; libFuzzer writes what it finds into the
# first folder it is given, which is in the build tree, so a run never writes into the sources.
function(tambrel_add_fuzz_target name)
  if(WIN32 OR NOT TAMBREL_FUZZ OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  cmake_parse_arguments(T "" "FLOOR" "SOURCES;LIBS" ${ARGN})
  if(NOT T_FLOOR)
    message(FATAL_ERROR "fuzz target ${name} has no coverage FLOOR")
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TAMBREL_TEST_BIN_DIR})
  set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
  file(MAKE_DIRECTORY ${corpus})
  set(seeds ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_seeds/${name})
  if(NOT IS_DIRECTORY ${seeds})
    set(seeds)
  endif()
  add_test(NAME fuzz.${name}
    COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tests/fuzz_coverage_floor.py ${PROJECT_SOURCE_DIR} ${T_FLOOR}
      $<TARGET_FILE:${name}> -max_total_time=${TAMBREL_FUZZ_SECONDS} -print_final_stats=1 ${corpus} ${seeds})
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 300)
endfunction()

# tambrel_add_windows_test(<name> SOURCES ... LIBS ...): a GoogleTest program of Win32 adapters.
# Built and run under Wine by both Windows builds (the 32-bit one where 32-bit Wine runs, see
# above), each in a prefix of the test run's own.
function(tambrel_add_windows_test name)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_options(${name} PRIVATE -static)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TAMBREL_TEST_BIN_DIR})
  if(TAMBREL_RUNS_WINDOWS)
    add_test(NAME wine.${name}
      COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/wine-test-run ${TAMBREL_WINE_DIR} $<TARGET_FILE:${name}>)
    set_tests_properties(wine.${name} PROPERTIES FIXTURES_REQUIRED wine_template TIMEOUT 300)
  endif()
endfunction()

# tambrel_add_e2e_scenarios(<file.py>): one end-to-end scenario file (pytest), run under Wine and Xvfb.
function(tambrel_add_e2e_scenarios file)
  if(NOT TAMBREL_RUNS_WINDOWS)
    return()
  endif()
  get_filename_component(stem ${file} NAME_WE)
  add_test(NAME e2e.${stem}
    COMMAND /usr/bin/python3 -m pytest -q -p no:cacheprovider ${file}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/tests/e2e)
  set_tests_properties(e2e.${stem} PROPERTIES
    FIXTURES_REQUIRED wine_template TIMEOUT 900
    ENVIRONMENT "TAMBREL_BUILD_DIR=${CMAKE_BINARY_DIR};TAMBREL_WINE_DIR=${TAMBREL_WINE_DIR}")
endfunction()
