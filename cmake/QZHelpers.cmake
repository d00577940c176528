# Project-wide compile settings and the helpers that every area uses to declare its tests,
# fuzz targets and benchmarks.

add_compile_options(-Wall -Wextra)
# g++ 12 at -O3 reports overlapping copies inside std::string's operator+ that cannot happen
# (a known false positive of that compiler); later compilers keep the warning.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    add_compile_options(-Wno-restrict)
endif()
if(QZ_WERROR)
    add_compile_options(-Werror)
endif()
# Exception texts carry the throwing file's path; keep it relative to the source tree.
add_compile_options("-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=")
# A build folder inside the checkout may name sources relative to itself ("../../UI/...").
file(RELATIVE_PATH qz_source_from_build ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
string(REGEX REPLACE "/$" "" qz_source_from_build "${qz_source_from_build}")
if(qz_source_from_build)
    add_compile_options("-ffile-prefix-map=${qz_source_from_build}/=")
endif()

if(QZ_SANITIZE)
    add_compile_options(-fsanitize=${QZ_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${QZ_SANITIZE})
endif()
if(QZ_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "QZ_FUZZ needs clang (package clang)")
    endif()
    # Coverage instrumentation everywhere, so the fuzzers see into the libraries they drive.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

add_custom_target(concurrency_tests)

# Where the test programs get options of their own (the test command's builds), every one parses
# GoogleTest's header from one precompiled copy, built by a program of its own with those options.
# glibc ignores _REENTRANT, but the desktop libraries' flags set it for some programs, and a
# precompiled header is used only where every definition agrees; it is set everywhere.
if(QZ_TEST_COMPILE_OPTIONS)
    add_compile_definitions(_REENTRANT)
    add_executable(qz_test_pch ${CMAKE_CURRENT_LIST_DIR}/TestPch.cpp)
    target_link_libraries(qz_test_pch PRIVATE GTest::gtest GTest::gtest_main)
    target_compile_options(qz_test_pch PRIVATE ${QZ_TEST_COMPILE_OPTIONS})
    target_precompile_headers(qz_test_pch PRIVATE <gtest/gtest.h>)
endif()

# qz_add_test(<name> LABEL <area> SOURCES ... [LIBS ...] [CONCURRENCY] [XVFB])
# One GoogleTest program registered as one ctest test carrying its area label. CONCURRENCY tests
# are also labelled "concurrency" and are the only ones the ThreadSanitizer build registers.
# XVFB tests run under a private X server of their own (cmake/RunUnderXvfb.sh).
function(qz_add_test name)
    cmake_parse_arguments(T "CONCURRENCY;XVFB" "LABEL" "SOURCES;LIBS" ${ARGN})
    if(QZ_CONCURRENCY_ONLY AND NOT T_CONCURRENCY)
        return()
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    target_compile_options(${name} PRIVATE ${QZ_TEST_COMPILE_OPTIONS})
    if(TARGET qz_test_pch)
        target_precompile_headers(${name} REUSE_FROM qz_test_pch)
    endif()
    set(labels ${T_LABEL})
    if(T_CONCURRENCY)
        list(APPEND labels concurrency)
        add_dependencies(concurrency_tests ${name})
    endif()
    set(launcher)
    if(T_XVFB)
        set(launcher ${PROJECT_SOURCE_DIR}/cmake/RunUnderXvfb.sh)
    endif()
    add_test(NAME ${name} COMMAND ${launcher} $<TARGET_FILE:${name}> --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT 600)
    if(NOT T_XVFB)
        # A headless test takes no display from the shell it was started in: with one that is
        # gone, SDL tries its other video drivers, and one of them leaks inside the system's
        # D-Bus library, failing the leak check.
        set_property(TEST ${name} PROPERTY ENVIRONMENT_MODIFICATION
                     "DISPLAY=unset:" "WAYLAND_DISPLAY=unset:")
    endif()
    if(QZ_SANITIZE MATCHES "thread")
        set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT
                     "TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/cmake/ThreadSanitizer.supp")
    endif()
endfunction()

# qz_add_fuzzer(<name> LABEL <area> SOURCES ... [LIBS ...] CORPUS <seed folder>)
# A libFuzzer target, run by ctest for QZ_FUZZ_SECONDS on its seed corpus. New inputs go to a
# scratch folder in the build tree so the repository's corpus stays as committed.
function(qz_add_fuzzer name)
    cmake_parse_arguments(F "" "LABEL;CORPUS" "SOURCES;LIBS" ${ARGN})
    if(NOT QZ_FUZZ OR QZ_CONCURRENCY_ONLY)
        return()
    endif()
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set(scratch ${CMAKE_CURRENT_BINARY_DIR}/fuzz-scratch/${name})
    file(MAKE_DIRECTORY ${scratch})
    add_test(NAME ${name}
             COMMAND ${name} -max_total_time=${QZ_FUZZ_SECONDS} -rss_limit_mb=2048 -timeout=10
                     -print_final_stats=0 ${scratch} ${F_CORPUS})
    set_tests_properties(${name} PROPERTIES LABELS "${F_LABEL};fuzz"
                         TIMEOUT 600)
endfunction()

# qz_add_benchmark(<name> SOURCES ... [LIBS ...]): a Google Benchmark program, built only when
# QZ_BENCHMARKS is on; benchmarks are run by hand, never as tests.
function(qz_add_benchmark name)
    cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT QZ_BENCHMARKS OR QZ_CONCURRENCY_ONLY)
        return()
    endif()
    add_executable(${name} ${B_SOURCES})
    target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
