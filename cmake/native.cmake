# Native Linux build: unit tests under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# libFuzzer targets when the compiler is clang.
option(WM_SANITIZE "Build with ASan and UBSan" ON)
if(WM_SANITIZE)
    set(wm_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(wm_core PUBLIC ${wm_sanitize_flags})
    target_link_options(wm_core PUBLIC ${wm_sanitize_flags})
endif()

# The fuzzers need coverage feedback from the code they drive, so wm_core is instrumented for
# them. The coverage callbacks come from the sanitizer runtime in the unit tests and from
# libFuzzer in the fuzzers; without sanitizers the unit tests would have neither, so fuzzing
# goes with the sanitized build.
set(wm_fuzzing OFF)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND WM_SANITIZE)
    set(wm_fuzzing ON)
    target_compile_options(wm_core PRIVATE -fsanitize=fuzzer-no-link)
endif()

find_package(GTest REQUIRED)
add_subdirectory(tests/unit)

if(wm_fuzzing)
    add_subdirectory(tests/fuzz)
endif()

add_subdirectory(tests/page)
