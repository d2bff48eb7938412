# Parlyte.exe: no C runtime, nothing imported beyond the system's own
# libraries, entered at ProgramEntry.
enable_language(RC)

# Only what the program names; the toolchain's default list would offer more.
set(CMAKE_CXX_STANDARD_LIBRARIES "")

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(PARLYTE_ENTRY _ProgramEntry@0)  # stdcall decoration
else()
    set(PARLYTE_ENTRY ProgramEntry)
endif()

add_executable(Parlyte WIN32
    ${PARLYTE_CORE_SOURCES}
    ${PARLYTE_ERROR_BOX_SOURCE}
    ui/program_entry.cpp
    ui/main_dialog.cpp
    ui/key_browser.cpp
    ui/text_fields.cpp
    ui/window_layout.cpp
    ui/window_placement.cpp
    ui/find_dialog.cpp
    res/parlyte.rc)
target_include_directories(Parlyte PRIVATE ${CMAKE_SOURCE_DIR})
# The search through every text is the one loop that runs long: a third
# faster for no bytes more (docs/design.md).
set_source_files_properties(text/text_search.cpp TARGET_DIRECTORY Parlyte PROPERTIES COMPILE_OPTIONS -O2)
target_compile_definitions(Parlyte PRIVATE WIN32_LEAN_AND_MEAN)
target_compile_options(Parlyte PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Os -Wall -Wextra -Werror -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
    -fno-stack-protector -fno-tree-loop-distribute-patterns -ffunction-sections>)
# An entry point the linker cannot find is only a warning to GNU ld: make it fatal.
target_link_options(Parlyte PRIVATE -nostdlib -nostartfiles -s
    -Wl,--entry,${PARLYTE_ENTRY} -Wl,--fatal-warnings -Wl,--gc-sections -Wl,-Map,${CMAKE_BINARY_DIR}/Parlyte.map
    -Wl,--no-insert-timestamp)  # the same sources give the same bytes
target_link_libraries(Parlyte PRIVATE kernel32 user32 shell32 ole32 gcc)
set_target_properties(Parlyte PROPERTIES OUTPUT_NAME Parlyte)

option(PARLYTE_TESTS "Build the end-to-end tests' programs" OFF)
if(PARLYTE_TESTS)
    # A DLL an end-to-end case plants beside Parlyte.exe, of its kind.
    add_library(planted SHARED tests/e2e/helpers/planted_dll.cpp)
    target_compile_options(planted PRIVATE -Wall -Wextra -Werror)
    target_link_options(planted PRIVATE -static -s -Wl,--no-insert-timestamp)
    set_target_properties(planted PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        add_subdirectory(tests/e2e)
    endif()
endif()
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    add_subdirectory(bench/wine EXCLUDE_FROM_ALL)
endif()

# fxt.exe, the console tool, from the same sources as the Linux fxt over the
# system's own calls. It stands alone: the C++ library is linked in.
add_executable(fxt ${FXT_COMMAND_SOURCES} ${FXT_FOLDER_SOURCES} ${FXT_FORMAT_SOURCES} ${TEXT_READING_SOURCES}
                   ${TEXT_WRITER_SOURCE} ${FXT_DIR}/platform/windows/platform.cpp
                   ${FXT_DIR}/platform/windows/wide_text.cpp ${FXT_DIR}/platform/windows/command_line.cpp
                   ${FXT_DIR}/platform/windows/main.cpp)
target_include_directories(fxt PRIVATE ${CMAKE_SOURCE_DIR})
# The C library's own printf; MinGW's would bring its larger one. The C++
# library checks its containers' bounds.
target_compile_definitions(fxt PRIVATE WIN32_LEAN_AND_MEAN __USE_MINGW_ANSI_STDIO=0 _GLIBCXX_ASSERTIONS)
target_compile_options(fxt PRIVATE -Os -Wall -Wextra -Werror -ffunction-sections -fdata-sections)
# Entered at wmain, with the arguments in UTF-16.
target_link_options(fxt PRIVATE -municode -static -s -Wl,--gc-sections -Wl,--no-insert-timestamp)
target_link_libraries(fxt PRIVATE kernel32)
