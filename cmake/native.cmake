# Native Linux build: unit tests under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# libFuzzer targets when the compiler is clang.
option(WM_SANITIZE "Build with ASan and UBSan" ON)
if(WM_SANITIZE)
    set(wm_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(wm_core PUBLIC ${wm_sanitize_flags})
    target_link_options(wm_core PUBLIC ${wm_sanitize_flags})
endif()

find_package(GTest REQUIRED)
add_subdirectory(tests/unit)

if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    add_subdirectory(tests/fuzz)
endif()
