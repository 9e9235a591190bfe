# Helpers that every folder uses to declare tests, fuzzers and benchmarks, so
# that the test runner can pick them per configuration:
#   plain and address builds: every GoogleTest executable (ctest -LE "fuzz|tsan")
#   thread build:             only tests declared with TSAN (target tsan_tests, ctest -L tsan)
#   fuzz build:               only fuzzers (target fuzzers, ctest -L fuzz)

add_custom_target(tsan_tests)
add_custom_target(fuzzers)

# stratum_add_gtest(NAME SOURCES a.cpp ... LIBS lib ... [TSAN] [LABELS l ...]
#                   [ENVIRONMENT VAR=value ...] [TIMEOUT seconds])
function(stratum_add_gtest name)
  cmake_parse_arguments(T "TSAN" "TIMEOUT" "SOURCES;LIBS;LABELS;ENVIRONMENT" ${ARGN})
  if(STRATUM_SANITIZE STREQUAL "fuzz")
    return()
  endif()
  if(STRATUM_SANITIZE STREQUAL "thread" AND NOT T_TSAN)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set(labels ${T_LABELS})
  if(T_TSAN)
    list(APPEND labels tsan)
    add_dependencies(tsan_tests ${name})
  endif()
  if(labels)
    set_tests_properties(${name} PROPERTIES LABELS "${labels}")
  endif()
  # Every test executable meets other instances in a shared segment folder of
  # its own, so parallel tests (and plug-ins the developer is running) never
  # share a group segment. In-process tests also choose their segment names
  # (see tests/README.md); this folder is what keeps a loaded module's segment
  # apart, since no in-process call reaches the module's own group link.
  set(runtime_dir ${CMAKE_CURRENT_BINARY_DIR}/${name}-runtime)
  file(MAKE_DIRECTORY ${runtime_dir})
  file(CHMOD ${runtime_dir} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  set(environment "XDG_RUNTIME_DIR=${runtime_dir}" ${T_ENVIRONMENT})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}")
  if(T_TIMEOUT)
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  else()
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  endif()
endfunction()

# stratum_add_fuzzer(NAME SOURCES a.cpp ... LIBS lib ... SECONDS n [CORPUS dir])
# Built only in the fuzz configuration; the ctest entry runs it for a bounded time.
function(stratum_add_fuzzer name)
  cmake_parse_arguments(F "" "SECONDS;CORPUS" "SOURCES;LIBS" ${ARGN})
  if(NOT STRATUM_SANITIZE STREQUAL "fuzz")
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzzers ${name})
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
  set(seeds "")
  if(F_CORPUS)
    set(seeds ${F_CORPUS})
  endif()
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND} -E env
      ${CMAKE_SOURCE_DIR}/tools/run-fuzzer.sh $<TARGET_FILE:${name}> ${F_SECONDS} ${work} ${seeds})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 900)
endfunction()

# stratum_add_benchmark(NAME SOURCES a.cpp ... LIBS lib ...)
function(stratum_add_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT TARGET benchmark::benchmark)
    find_package(benchmark REQUIRED)
  endif()
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

find_package(Threads REQUIRED)
