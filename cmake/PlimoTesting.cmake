# Test plumbing shared by every folder under tests/.
#
# win64, win32: test programs are Windows executables run by Wine through the
# generated `wine-exec` wrapper (scripts/wine-env.sh: the build's own prefix,
# Wine's chatter off). The win32 build's programs run under a user-mode i386
# emulator (scripts/win32-lane.sh): they see PLIMO_EMULATED=1, so that the fault
# tests can check what the emulator delivers (README: the 32-bit build).
# native: the platform-free tests, run directly under the sanitizers.

include(GoogleTest)

# Included from the top CMakeLists.txt: tests of every build, the fuzz build's
# too (tests/fuzz: each target's bounded run), are found by ctest at the build's top.
enable_testing()

if(NOT PLIMO_NATIVE)
  math(EXPR PLIMO_BITS "${CMAKE_SIZEOF_VOID_P} * 8")
  set(PLIMO_EMULATED_EXPORT "")
  if(PLIMO_EMULATED)
    set(PLIMO_EMULATED_EXPORT "PLIMO_EMULATED=1; export PLIMO_EMULATED")
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/scripts/wine-exec.in ${CMAKE_BINARY_DIR}/wine-exec
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE
                 @ONLY)
  set(PLIMO_EMULATOR "${CMAKE_BINARY_DIR}/wine-exec")
  set(CMAKE_CROSSCOMPILING_EMULATOR "${PLIMO_EMULATOR}")
endif()

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)

# Tests may run only where the build's programs can execute.
set(PLIMO_RUN_TESTS OFF)
if(PLIMO_NATIVE OR PLIMO_CAN_RUN)
  set(PLIMO_RUN_TESTS ON)
endif()

# Labels, so that `ctest -L`/`-LE` (scripts/ctest.sh PRESET ...) pick sets of tests:
#  - the library a test is about: the folder under tests/ it is in (frame,
#    console, graph, viewer; e2e for the whole programs, which add the library
#    they drive), unless LABELS names one;
#  - what it needs: display (USES_DISPLAY: the X server, one such test at a time),
#    terminal (a console of its own: a pty, tmux or AllocConsole), e2e (a whole
#    program as a user meets it), fuzz (the fuzz targets' bounded runs).
# plimo_labels(<out> USES_DISPLAY LABELS...): the whole list.
function(plimo_labels out uses_display)
  get_filename_component(folder "${CMAKE_CURRENT_SOURCE_DIR}" NAME)
  set(labels ${folder} ${ARGN})
  if(uses_display)
    list(APPEND labels display)
  endif()
  list(REMOVE_DUPLICATES labels)
  set(${out} ${labels} PARENT_SCOPE)
endfunction()

# plimo_gtest(<name> SOURCES ... LIBS ... [TIMEOUT s] [USES_DISPLAY] [LABELS ...])
# A GoogleTest program whose cases become CTest tests (each with a time limit).
# USES_DISPLAY: its cases talk to the X server (GDI on the screen, windows, a
# console of their own); they then run one at a time with every other such
# test. WINE: a Wine process that ends while another test drives the screen
# (screenshots, focus, typed keys) was seen to hang in its exit for a minute.
# LABELS: more labels (above) for each of its cases.
function(plimo_gtest name)
  cmake_parse_arguments(ARG "USES_DISPLAY" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 60)
  endif()
  set(lock)
  if(ARG_USES_DISPLAY)
    set(lock RESOURCE_LOCK display)
  endif()
  plimo_labels(labels "${ARG_USES_DISPLAY}" ${ARG_LABELS})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  if(PLIMO_RUN_TESTS)
    # A case counts as skipped only when it skipped itself (GTEST_SKIP prints
    # "file:line: Skipped" and its reason): GoogleTest also marks the cases of
    # a suite whose set-up failed as skipped, and CTest's skip pattern would
    # win over their failing exit code.
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 120
      PROPERTIES TIMEOUT ${ARG_TIMEOUT} SKIP_REGULAR_EXPRESSION [0-9]:.Skipped ${lock})
    # NOTE: gtest_discover_tests (CMake 3.25) writes its PROPERTIES into the
    # discovered tests' script one word at a time, so a list value (two labels)
    # keeps only its first element. The labels are set by a script of our own
    # that CTest reads after the discovered tests, from their list <name>_TESTS.
    set(label_script "${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake")
    file(WRITE "${label_script}"
      "if(${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS \"${labels}\")\nendif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${label_script}")
  endif()
endfunction()

# plimo_script_test(<name> COMMAND ... [TIMEOUT s] [USES_DISPLAY] [LABELS ...])
# A Python or shell test; it receives the Wine wrapper in PLIMO_EMULATOR.
# USES_DISPLAY and LABELS as for plimo_gtest.
function(plimo_script_test name)
  cmake_parse_arguments(ARG "USES_DISPLAY" "TIMEOUT" "COMMAND;LABELS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  plimo_labels(labels "${ARG_USES_DISPLAY}" ${ARG_LABELS})
  if(PLIMO_RUN_TESTS)
    add_test(NAME ${name} COMMAND ${ARG_COMMAND})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${labels}"
      ENVIRONMENT "PLIMO_EMULATOR=${PLIMO_EMULATOR};PLIMO_BINARY_DIR=${CMAKE_BINARY_DIR};PLIMO_EMULATED=$<BOOL:${PLIMO_EMULATED}>")
    if(ARG_USES_DISPLAY)
      set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display)
    endif()
  endif()
endfunction()
