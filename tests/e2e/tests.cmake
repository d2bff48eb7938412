# Tests of the Windows builds, registered in the native build where CTest
# runs: the exes' form and imports, the release built again, and the
# end-to-end cases under Wine in a virtual X display.
set(E2E_DIR ${CMAKE_SOURCE_DIR}/tests/e2e)
set(E2E_ROOT ${CMAKE_BINARY_DIR}/e2e)
set(PARLYTE_WIN32_EXE ${PARLYTE_WIN32_DIR}/Parlyte.exe)
set(PARLYTE_WIN64_EXE ${PARLYTE_WIN64_DIR}/Parlyte.exe)
set(E2E_DRIVER ${PARLYTE_WIN64_DIR}/tests/e2e/e2e_driver.exe)

# Each check runs once, on the release: the 32-bit build. Where this
# machine cannot run 32-bit programs (asked when CMake configures), the
# release's tests report themselves skipped, saying why, and the 64-bit
# build runs them instead; elsewhere it runs only one case of its own.
execute_process(COMMAND ${E2E_DIR}/runs_32bit.sh ${E2E_ROOT} RESULT_VARIABLE NO_32BIT_HERE OUTPUT_VARIABLE NO_32BIT_REASON)
if(NO_32BIT_HERE)
    message(STATUS "The 64-bit build runs the release's tests: ${NO_32BIT_REASON}")
    set(TESTED_BUILDS 32 64)
else()
    set(TESTED_BUILDS 32)
endif()

# Per build: the exes' form; and fxt.exe under Wine running the tests only
# Windows has, and matching the Linux fxt's output.
set(ARCH_32 i686)
set(ARCH_64 x86_64)
foreach(bits 32 64)
    add_test(NAME exe_win${bits}_parlyte COMMAND ${E2E_DIR}/check_exe.sh ${PARLYTE_WIN${bits}_EXE} ${ARCH_${bits}} parlyte)
    add_test(NAME exe_win${bits}_fxt
             COMMAND ${E2E_DIR}/check_exe.sh ${PARLYTE_WIN${bits}_DIR}/fxt.exe ${ARCH_${bits}} fxt)
    set_tests_properties(exe_win${bits}_parlyte exe_win${bits}_fxt PROPERTIES FAIL_REGULAR_EXPRESSION "FAIL ")
endforeach()
foreach(bits ${TESTED_BUILDS})
    add_test(NAME fxt_exe_win${bits}
             COMMAND ${E2E_DIR}/run_fxt_exe_tests.sh ${E2E_ROOT} ${bits} $<TARGET_FILE:fxt_tests>
                     ${PARLYTE_WIN${bits}_DIR}/fxt.exe ${PARLYTE_WIN64_DIR}/tests/e2e/file_holder.exe)
    set_tests_properties(fxt_exe_win${bits} PROPERTIES FIXTURES_REQUIRED e2e_display RESOURCE_LOCK wine TIMEOUT 600
                         SKIP_RETURN_CODE 77)
endforeach()

# The release builds to the same bytes again, and so does its zip.
add_test(NAME release_reproducible COMMAND ${CMAKE_SOURCE_DIR}/tests/release/reproducible_release.sh ${CMAKE_SOURCE_DIR}
                                           ${PARLYTE_WIN32_DIR} ${CMAKE_BINARY_DIR}/release-again)
set_tests_properties(release_reproducible PROPERTIES TIMEOUT 300 FAIL_REGULAR_EXPRESSION "FAIL ")

add_test(NAME e2e_display_start COMMAND ${E2E_DIR}/start_display.sh ${E2E_ROOT})
add_test(NAME e2e_display_stop COMMAND ${E2E_DIR}/stop_display.sh ${E2E_ROOT})
set_tests_properties(e2e_display_start PROPERTIES FIXTURES_SETUP e2e_display RESOURCE_LOCK wine TIMEOUT 400)
set_tests_properties(e2e_display_stop PROPERTIES FIXTURES_CLEANUP e2e_display RESOURCE_LOCK wine)

# e2e_case(NAME TABLE [BUILDS]): the driver's case NAME on a game folder
# made from TABLE, on the release (e2e_win32_NAME) and on the other builds
# tested here, or on BUILDS (e2e_win64_NAME for the 64-bit one).
function(e2e_case name table)
    set(builds ${TESTED_BUILDS})
    if(ARGC GREATER 2)
        set(builds ${ARGN})
    endif()
    foreach(bits ${builds})
        add_test(NAME e2e_win${bits}_${name}
                 COMMAND ${E2E_DIR}/run_case.sh ${E2E_ROOT} $<TARGET_FILE:fxt> ${PARLYTE_WIN${bits}_EXE} ${bits}
                         ${E2E_DRIVER} ${table} ${name})
        set_tests_properties(e2e_win${bits}_${name} PROPERTIES FIXTURES_REQUIRED e2e_display RESOURCE_LOCK wine
                             TIMEOUT 300 FAIL_REGULAR_EXPRESSION "FAIL " SKIP_RETURN_CODE 77)
    endforeach()
endfunction()

set(SMALL_TABLE ${CMAKE_SOURCE_DIR}/tests/data/small.tsv)
foreach(name version main-window window-icon exit-button close-command
             missing-language-file pick-valid-folder pick-bad-folder planted-dll locked-language-file
             language-file-is-a-folder pipe-language-file settings-copy full-disk)
    e2e_case(${name} ${SMALL_TABLE})
endforeach()

e2e_case(find ${CMAKE_SOURCE_DIR}/tests/data/find.tsv)
e2e_case(type-ahead ${CMAKE_SOURCE_DIR}/tests/data/type_ahead.tsv)
foreach(name window-size window-size-144dpi text-fields)
    e2e_case(${name} ${CMAKE_SOURCE_DIR}/tests/data/long_texts.tsv)
endforeach()

# About 2,500 keys per file, as a game has.
set(REALISTIC_TABLE ${CMAKE_BINARY_DIR}/realistic-2500.tsv)
add_custom_command(OUTPUT ${REALISTIC_TABLE}
                   COMMAND make_realistic_table 2500 > ${REALISTIC_TABLE}
                   DEPENDS make_realistic_table)
add_custom_target(realistic_table_file ALL DEPENDS ${REALISTIC_TABLE})
foreach(name key-list click-shows-texts typing-finds-keys)
    e2e_case(${name} ${REALISTIC_TABLE})
endforeach()
# The 64-bit build's own case, where it runs no other: it opens, a click
# shows a key's texts, Exit closes it, and it ran as a 64-bit process.
if(NOT NO_32BIT_HERE)
    e2e_case(click-shows-texts ${REALISTIC_TABLE} 64)
endif()

# A text of 5 MB, found only at its end.
set(HUGE_TABLE ${CMAKE_BINARY_DIR}/huge-text.tsv)
add_custom_command(OUTPUT ${HUGE_TABLE} COMMAND ${E2E_DIR}/huge_text_table.py > ${HUGE_TABLE}
                   DEPENDS ${E2E_DIR}/huge_text_table.py)
add_custom_target(huge_table_file ALL DEPENDS ${HUGE_TABLE})
e2e_case(huge-text ${HUGE_TABLE})

# The demo of make run, so that it keeps working.
e2e_case(demo ${CMAKE_SOURCE_DIR}/demo/demo_texts.tsv)
