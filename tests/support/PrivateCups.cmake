# SPDX-License-Identifier: GPL-3.0-or-later
# A CUPS scheduler of the tests' own, with one queue "GenPDF" that writes each
# job to ${LVX_PRIVATE_CUPS_DIR}/out/job.pdf and is the default printer. Any
# system scheduler is left alone.
#
#   include(${PROJECT_SOURCE_DIR}/tests/support/PrivateCups.cmake)
#   lvx_use_private_cups(my_test another_test)
#
# makes the named tests (of the calling folder) run while the scheduler runs,
# with CUPS_SERVER pointing at it. The scheduler starts once per ctest run
# (test private_cups_start) and stops after the last test that needs it
# (private_cups_stop).
# Once per folder: the variables below are set in the including folder.
include_guard(DIRECTORY)

set(LVX_PRIVATE_CUPS_SCRIPTS ${CMAKE_CURRENT_LIST_DIR})
# Outside the build tree, one folder per build tree; short, for the socket's
# path length limit.
string(MD5 _lvx_build_hash "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${_lvx_build_hash}" 0 10 _lvx_build_hash)
set(LVX_PRIVATE_CUPS_DIR "/tmp/lvx-cups-${_lvx_build_hash}")
set(LVX_PRIVATE_CUPS_SERVER "${LVX_PRIVATE_CUPS_DIR}/cups.sock")

function(lvx_use_private_cups)
  get_property(defined GLOBAL PROPERTY LVX_PRIVATE_CUPS_DEFINED)
  if(NOT defined)
    add_test(NAME private_cups_start
             COMMAND ${LVX_PRIVATE_CUPS_SCRIPTS}/private-cups ${LVX_PRIVATE_CUPS_DIR})
    set_tests_properties(private_cups_start PROPERTIES FIXTURES_SETUP PrivateCups LABELS e2e)
    add_test(NAME private_cups_stop
             COMMAND ${LVX_PRIVATE_CUPS_SCRIPTS}/private-cups-stop ${LVX_PRIVATE_CUPS_DIR})
    set_tests_properties(private_cups_stop PROPERTIES FIXTURES_CLEANUP PrivateCups LABELS e2e)
    set_property(GLOBAL PROPERTY LVX_PRIVATE_CUPS_DEFINED TRUE)
  endif()
  foreach(test IN LISTS ARGN)
    set_property(TEST ${test} APPEND PROPERTY FIXTURES_REQUIRED PrivateCups)
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
                 "CUPS_SERVER=${LVX_PRIVATE_CUPS_SERVER}"
                 "LVX_PRIVATE_CUPS_DIR=${LVX_PRIVATE_CUPS_DIR}")
  endforeach()
endfunction()
