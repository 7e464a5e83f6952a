# Native Linux build: unit tests under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# libFuzzer targets when the compiler is clang.
option(WM_SANITIZE "Build with ASan and UBSan" ON)
if(WM_SANITIZE)
    set(wm_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(wm_core PUBLIC ${wm_sanitize_flags})
    target_link_options(wm_core PUBLIC ${wm_sanitize_flags})
endif()

# The fuzzers need coverage feedback from the code they drive. Only wm_core is instrumented;
# the sanitizer runtimes (or libFuzzer itself) provide the coverage callbacks at link time, so
# without sanitizers the unit tests are linked against libFuzzer's runtime minus its main().
set(wm_fuzzing OFF)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    set(wm_fuzzing ON)
    target_compile_options(wm_core PRIVATE -fsanitize=fuzzer-no-link)
endif()

find_package(GTest REQUIRED)
add_subdirectory(tests/unit)

if(wm_fuzzing)
    add_subdirectory(tests/fuzz)
endif()
