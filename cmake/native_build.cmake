# The native Linux build: fxt over the stand-in layer; with PARLYTE_TESTS,
# the unit tests under AddressSanitizer and UndefinedBehaviorSanitizer, the
# fuzzers, and the tests of the Windows builds.
option(PARLYTE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
option(PARLYTE_TESTS "Build the tests" OFF)

add_compile_options(-Wall -Wextra -Wpedantic -Werror)
if(PARLYTE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
# The code the fuzzers read carries libFuzzer's coverage, which guides them
# through it; the tests and fxt share the same objects. The benchmarks' build,
# without the sanitizers, has no fuzzers.
set(FUZZING OFF)
if(PARLYTE_TESTS AND PARLYTE_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    set(FUZZING ON)
elseif(PARLYTE_TESTS AND PARLYTE_SANITIZE)
    message(WARNING "The fuzzers need clang; configure with CXX=clang++ to build them")
endif()
include_directories(${CMAKE_SOURCE_DIR}/compat ${CMAKE_SOURCE_DIR})

# The stand-in layer as users' programs have it.
set(PARLYTE_COMPAT_SOURCES compat/file_calls.cpp compat/system_calls.cpp)
add_library(parlyte_compat STATIC ${PARLYTE_COMPAT_SOURCES})

# The text store's reading and writing and fxt's layers below its commands,
# compiled once for fxt and for the tests.
add_library(text_reading OBJECT ${TEXT_READING_SOURCES} ${TEXT_WRITER_SOURCE})
add_library(fxt_layers OBJECT ${FXT_FORMAT_SOURCES} ${FXT_FOLDER_SOURCES} ${FXT_DIR}/platform/unix/platform.cpp)
if(FUZZING)
    target_compile_options(text_reading PRIVATE -fsanitize=fuzzer-no-link)
    target_compile_options(fxt_layers PRIVATE -fsanitize=fuzzer-no-link)
endif()
add_executable(fxt ${FXT_COMMAND_SOURCES} ${FXT_DIR}/platform/unix/main.cpp $<TARGET_OBJECTS:text_reading>
                   $<TARGET_OBJECTS:fxt_layers>)
target_link_libraries(fxt PRIVATE parlyte_compat)

if(NOT PARLYTE_TESTS)
    return()
endif()

# The stand-in layer as the tests build it, with the hooks in that their
# fakes set.
add_library(parlyte_compat_hooked STATIC ${PARLYTE_COMPAT_SOURCES})
target_compile_definitions(parlyte_compat_hooked PRIVATE PARLYTE_TEST_HOOKS)
add_library(test_fakes STATIC tests/fakes/fakes.cpp tests/fakes/profile_calls.cpp tests/fakes/folder_dialog.cpp)
target_include_directories(test_fakes PUBLIC ${CMAKE_SOURCE_DIR}/tests/fakes)
target_link_libraries(test_fakes PUBLIC parlyte_compat_hooked)

# The core as the tests load it, as Parlyte does, over the fakes; and fxt's
# layers with it.
set(CORE_BEYOND_READING ${PARLYTE_CORE_SOURCES})
list(REMOVE_ITEM CORE_BEYOND_READING ${TEXT_READING_SOURCES})
add_library(parlyte_core STATIC $<TARGET_OBJECTS:text_reading> ${CORE_BEYOND_READING} ${PARLYTE_ERROR_BOX_SOURCE})
if(FUZZING)
    target_compile_options(parlyte_core PRIVATE -fsanitize=fuzzer-no-link)
endif()
target_link_libraries(parlyte_core PUBLIC test_fakes)
# fxt.exe's reading of its command line is portable, and tested here.
add_library(fxt_tested STATIC $<TARGET_OBJECTS:fxt_layers> ${FXT_DIR}/platform/windows/command_line.cpp)
target_link_libraries(fxt_tested PUBLIC parlyte_core)

enable_testing()
add_subdirectory(tests/unit)
if(FUZZING)
    add_subdirectory(tests/fuzz)
endif()

# The Windows builds' tests run from here too, when their folders are given.
set(PARLYTE_WIN32_DIR "" CACHE PATH "Build folder of the 32-bit Windows exe")
set(PARLYTE_WIN64_DIR "" CACHE PATH "Build folder of the 64-bit Windows exe and its test driver")
if(PARLYTE_WIN32_DIR AND PARLYTE_WIN64_DIR)
    include(tests/e2e/tests.cmake)
endif()
add_subdirectory(bench/native EXCLUDE_FROM_ALL)
