# The native Linux build: the core over the stand-in layer, the fxt tool,
# the unit tests under AddressSanitizer and UndefinedBehaviorSanitizer, and
# the fuzzer.
option(PARLYTE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)

add_compile_options(-Wall -Wextra -Wpedantic -Werror)
if(PARLYTE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

set(PARLYTE_COMPAT_SOURCES
    compat/file_calls.cpp
    compat/folder_dialog.cpp
    compat/profile_calls.cpp
    compat/system_calls.cpp)
add_library(parlyte_compat STATIC ${PARLYTE_COMPAT_SOURCES})
target_include_directories(parlyte_compat PUBLIC ${CMAKE_SOURCE_DIR}/compat ${CMAKE_SOURCE_DIR})

add_library(parlyte_core STATIC ${PARLYTE_CORE_SOURCES})
target_link_libraries(parlyte_core PUBLIC parlyte_compat)
# Parlyte's message box for what stops loading, linked where the core loads
# as Parlyte does.
add_library(parlyte_error_box OBJECT ${PARLYTE_ERROR_BOX_SOURCE})
target_link_libraries(parlyte_error_box PUBLIC parlyte_core)

add_library(fxt_format STATIC ${FXT_FORMAT_SOURCES})
target_link_libraries(fxt_format PUBLIC parlyte_core)

# fxt's files with its Linux part, which the tests of make's writing use too.
add_library(fxt_files STATIC ${FXT_FILE_SOURCES} tools/fxt/unix/fxt_platform.cpp)
target_link_libraries(fxt_files PUBLIC fxt_format)

add_executable(fxt ${FXT_MAIN_SOURCE})
target_link_libraries(fxt PRIVATE fxt_files)

# fxt without the sanitizers, whose allocator would end the program itself
# where memory runs out: the test of running out of memory runs this one.
add_executable(fxt_unsanitized ${FXT_MAIN_SOURCE} ${FXT_FILE_SOURCES} ${FXT_FORMAT_SOURCES} tools/fxt/unix/fxt_platform.cpp
                               ${PARLYTE_TEXT_STORE_SOURCES} ${PARLYTE_COMPAT_SOURCES})
target_include_directories(fxt_unsanitized PRIVATE ${CMAKE_SOURCE_DIR}/compat ${CMAKE_SOURCE_DIR})
set_property(TARGET fxt_unsanitized PROPERTY COMPILE_OPTIONS -Wall -Wextra -Wpedantic -Werror)
set_property(TARGET fxt_unsanitized PROPERTY LINK_OPTIONS "")

enable_testing()
add_subdirectory(tests/unit)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    add_subdirectory(tests/fuzz)
else()
    message(WARNING "The fuzzer needs clang; configure with CXX=clang++ to build it")
endif()

# The Windows builds' tests run from here too, when their folders are given.
set(PARLYTE_WIN32_DIR "" CACHE PATH "Build folder of the 32-bit Windows exe")
set(PARLYTE_WIN64_DIR "" CACHE PATH "Build folder of the 64-bit Windows exe and its test driver")
if(PARLYTE_WIN32_DIR AND PARLYTE_WIN64_DIR)
    include(tests/e2e/tests.cmake)
endif()
add_subdirectory(bench/native)
