# The native Linux build: the core and fxt over the stand-in layer, the unit
# tests under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# fuzzers.
option(PARLYTE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)

add_compile_options(-Wall -Wextra -Wpedantic -Werror)
if(PARLYTE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
include_directories(${CMAKE_SOURCE_DIR}/compat ${CMAKE_SOURCE_DIR})

# The stand-in layer as users' programs have it, and as the tests build it,
# with the hooks in that their fakes set.
set(PARLYTE_COMPAT_SOURCES compat/file_calls.cpp compat/system_calls.cpp)
add_library(parlyte_compat STATIC ${PARLYTE_COMPAT_SOURCES})
add_library(parlyte_compat_hooked STATIC ${PARLYTE_COMPAT_SOURCES})
target_compile_definitions(parlyte_compat_hooked PRIVATE PARLYTE_TEST_HOOKS)
add_library(test_fakes STATIC tests/fakes/fakes.cpp tests/fakes/profile_calls.cpp tests/fakes/folder_dialog.cpp)
target_include_directories(test_fakes PUBLIC ${CMAKE_SOURCE_DIR}/tests/fakes)
target_link_libraries(test_fakes PUBLIC parlyte_compat_hooked)

# The text store's reading and writing, which Parlyte's core and fxt share;
# the core as the tests load it, as Parlyte does, over the fakes.
add_library(text_reading OBJECT ${TEXT_READING_SOURCES} ${TEXT_WRITER_SOURCE})
set(CORE_BEYOND_READING ${PARLYTE_CORE_SOURCES})
list(REMOVE_ITEM CORE_BEYOND_READING ${TEXT_READING_SOURCES})
add_library(parlyte_core STATIC $<TARGET_OBJECTS:text_reading> ${CORE_BEYOND_READING} ${PARLYTE_ERROR_BOX_SOURCE})
target_link_libraries(parlyte_core PUBLIC test_fakes)

# fxt's layers below its commands; fxt over the users' stand-in layer, and
# the layers as the tests use them, with the core over the fakes.
add_library(fxt_layers OBJECT ${FXT_FORMAT_SOURCES} ${FXT_FOLDER_SOURCES} ${FXT_DIR}/platform/unix/platform.cpp)
add_executable(fxt ${FXT_COMMAND_SOURCES} ${FXT_DIR}/platform/unix/main.cpp $<TARGET_OBJECTS:text_reading> $<TARGET_OBJECTS:fxt_layers>)
target_link_libraries(fxt PRIVATE parlyte_compat)
add_library(fxt_tested STATIC $<TARGET_OBJECTS:fxt_layers>)
target_link_libraries(fxt_tested PUBLIC parlyte_core)

# fxt without the sanitizers, whose allocator would end the program itself
# where memory runs out: the test of running out of memory runs this one.
add_executable(fxt_unsanitized ${FXT_COMMAND_SOURCES} ${TEXT_READING_SOURCES} ${TEXT_WRITER_SOURCE} ${FXT_FORMAT_SOURCES}
                               ${FXT_FOLDER_SOURCES} ${FXT_DIR}/platform/unix/platform.cpp ${FXT_DIR}/platform/unix/main.cpp
                               ${PARLYTE_COMPAT_SOURCES})
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
