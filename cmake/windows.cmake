# The Windows executable, the stand-in WebView2 runtime and the tests that run under Wine.

# Settings every Windows program of the project shares. Static linking: nothing beyond Windows'
# own DLLs is needed, under Wine as on a real machine.
function(wm_windows_target target)
    target_compile_definitions(${target} PRIVATE
        UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PRIVATE wm_warnings)
    # The 2 MiB stack that GNU ld reserves by default. With the 1 MiB that LLD reserves, a page
    # message of a mebibyte took the shell seconds instead of milliseconds under Wine.
    target_link_options(${target} PRIVATE -static -Wl,--stack,0x200000)
    # The stack protector's and the checked functions' failure routines (libssp, linked statically),
    # and the threads libstdc++ is built on, which Clang's driver leaves to the program to name.
    target_link_libraries(${target} PRIVATE ssp pthread)
endfunction()

# Everything Win32 but the entry, as a library so that Windows-side tests can link parts of it:
# the host and app folders and every `_win` file.
file(GLOB WM_HOST_SOURCES CONFIGURE_DEPENDS src/host/*.cpp src/app/*.cpp src/*/*_win.cpp)
list(REMOVE_ITEM WM_HOST_SOURCES ${PROJECT_SOURCE_DIR}/src/app/main.cpp)

add_library(wm_host STATIC ${WM_HOST_SOURCES})
wm_windows_target(wm_host)
target_include_directories(wm_host PRIVATE resources)
target_link_libraries(wm_host PRIVATE wm_hardening)
# Only DLLs that Windows loads from System32 alone (KnownDLLs) are imported; any other is looked
# up at run time from System32 (host/system_library.h), so a file beside the executable never runs.
target_link_libraries(wm_host PUBLIC wm_core ole32 oleaut32 uuid shell32 user32 gdi32 advapi32)

# The manifest carries the product's name, identity and version from the one header that
# defines them.
file(STRINGS src/base/release.h wm_release_lines REGEX "^#define WM_(PRODUCT_NAME|APP_IDENTITY|VERSION_[A-Z]+) ")
foreach(line IN LISTS wm_release_lines)
    string(REGEX MATCH "^#define (WM_[A-Z_]+) \"?([^\"]*)\"?$" ignored "${line}")
    set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
endforeach()
set(WM_VERSION "${WM_VERSION_MAJOR}.${WM_VERSION_MINOR}.${WM_VERSION_PATCH}")
set(WM_GENERATED_RESOURCES ${CMAKE_BINARY_DIR}/generated/resources)
configure_file(resources/wispermoth.manifest.in ${WM_GENERATED_RESOURCES}/wispermoth.manifest @ONLY)

add_executable(wispermoth WIN32 src/app/main.cpp resources/wispermoth.rc)
# windres reports no dependencies: name the files the resource script pulls in.
file(GLOB wm_resource_files CONFIGURE_DEPENDS resources/*.h resources/*.png resources/icons/*.ico)
list(APPEND wm_resource_files ${WM_GENERATED_RESOURCES}/wispermoth.manifest ${PROJECT_SOURCE_DIR}/src/base/release.h)
set_source_files_properties(resources/wispermoth.rc PROPERTIES OBJECT_DEPENDS "${wm_resource_files}")
wm_windows_target(wispermoth)
target_include_directories(wispermoth PRIVATE resources ${WM_GENERATED_RESOURCES})
target_link_libraries(wispermoth PRIVATE wm_host wm_hardening)
target_link_options(wispermoth PRIVATE -municode -s -Wl,--gc-sections)

# The shipped code for size over speed: the shell waits on the user and the web view, never on
# its own code, and the linker drops every function and datum that nothing uses. Nothing asks a
# type its name or casts by it: without run-time type information every class with virtual
# functions, each COM handler and each std::function target, no longer carries a type record and
# its mangled name. Exceptions are still caught by type, with the records the throw sites emit.
foreach(target wm_core wm_host wispermoth)
    target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-Os> -ffunction-sections -fdata-sections
        $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
endforeach()
# The Win32 side smaller still (-Oz: less inlining, shorter encodings): of a page message it only
# reads the post and hands it on; the decoding, parsing and dispatching keep -Os.
foreach(target wm_host wispermoth)
    target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-Oz>)
endforeach()

# Control Flow Guard: every indirect call of the product code goes through the loader's check, and
# the linker lists the functions that may be called so (Clang and LLD; GCC cannot emit it). The
# guard's pointers and the load-configuration directory come from the project, as Debian's
# mingw-w64 runtime has neither; a guarded object pulls them into whatever program links it. That
# runtime, winpthreads and libstdc++ are built without the guard: the linker misses functions of
# theirs that Windows and msvcrt call indirectly, which tools/guard_table.py adds after the link,
# and their setjmp sites are unknown, so no long-jump table is declared. The image is marked
# compatible with hardware shadow stacks: nothing in it swaps stacks or returns anywhere but to its
# caller.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    option(WM_GUARD_CF "Link the executable with Control Flow Guard's tables" ON)
    enable_language(ASM)
    target_sources(wm_host PRIVATE src/host/guard_load_config.S)
    foreach(target wm_core wm_host wispermoth)
        target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-mguard=cf>)
    endforeach()
    if(WM_GUARD_CF)
        target_link_options(wispermoth PRIVATE -Wl,--guard-cf -Wl,--no-guard-longjmp)
        add_custom_command(TARGET wispermoth POST_BUILD
            COMMAND python3 ${PROJECT_SOURCE_DIR}/tools/guard_table.py $<TARGET_FILE:wispermoth> VERBATIM)
        set_property(TARGET wispermoth APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/tools/guard_table.py)
    endif()
    target_link_options(wispermoth PRIVATE -Wl,-Xlink=/cetcompat)
    # Functions with the same code are kept once where nothing takes their address (LLD's identical
    # code folding in its safe form: Clang's address-significance tables say which are taken, and
    # every function of an object without one, such as the GCC-built runtime's, is kept apart).
    target_link_options(wispermoth PRIVATE -Wl,--icf=safe)
    # The marks read back from the built image, as Windows' loader and binary analysers read them,
    # and refused on copies of it with one spoiled each.
    add_test(NAME executable_hardening
        COMMAND python3 ${PROJECT_SOURCE_DIR}/tools/check_pe.py $<TARGET_FILE:wispermoth>)
    add_test(NAME executable_hardening_refusals
        COMMAND python3 ${PROJECT_SOURCE_DIR}/tools/test_check_pe.py $<TARGET_FILE:wispermoth>)
endif()

# GoogleTest built from Debian's sources with the cross compiler, for the Windows-side tests.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

option(WM_WINDOWS_TESTS "Build the stand-in runtime and the tests that run under Wine" ON)
if(WM_WINDOWS_TESTS)
    add_subdirectory(tests/standin)
    add_subdirectory(tests/toast_standin)
    add_subdirectory(tests/taskbar_standin)
    add_subdirectory(tests/host)
    add_subdirectory(tests/e2e)
    add_subdirectory(bench)
endif()
