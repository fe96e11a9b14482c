# The Windows build's tests, run under wine (scripts/wine-run) in a prefix of
# the build folder.
set(TESTS ${CMAKE_CURRENT_SOURCE_DIR})

# The shared fixture, with the few POSIX calls it makes given by shims.
add_library(pavsdi_fakes STATIC ${TESTS}/fakes/fakes.cpp ${TESTS}/windows/posix_shims.cpp)
target_link_libraries(pavsdi_fakes PUBLIC pavsdi_core pavsdi_platform GTest::gtest)
target_include_directories(pavsdi_fakes PUBLIC ${TESTS} PRIVATE ${TESTS}/windows/include)
target_compile_options(pavsdi_fakes PRIVATE -include ${TESTS}/windows/posix_shims.h)

# The unit tests of the shared code. Left out: those of the Linux back ends
# (terminal, desktop registry, printer, sound servers, clipboard tools) and
# those that make FIFOs, links or a full disk through POSIX calls; the
# Windows back ends have their own tests (windows_backends_test.cpp).
file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${TESTS}/unit/*.cpp)
foreach(posix_only clipboard_exchange_test console_test document_registration_test file_commands_test
        print_pages_test sound_test terminal_test text_files_test)
  list(REMOVE_ITEM UNIT_TEST_SOURCES ${TESTS}/unit/${posix_only}.cpp)
endforeach()
add_executable(unit_tests ${UNIT_TEST_SOURCES} ${TESTS}/windows/windows_backends_test.cpp
               ${TESTS}/windows/classes_registry_test.cpp ${TESTS}/windows/keys_while_playing_test.cpp)
target_link_libraries(unit_tests PRIVATE pavsdi_fakes pavsdi_app pavsdi_terminal pavsdi_win32 GTest::gtest_main)
target_compile_definitions(unit_tests PRIVATE PAVSDI_VERSION="${PROJECT_VERSION}")
add_test(NAME unit COMMAND unit_tests)

# The black-box tests of the programs, the same files and transcripts, the
# programs run under wine.
# Left out: the terminal for a person under tmux, the Linux sound servers,
# and the faults driven by POSIX signals, FIFOs and file-size limits.
file(GLOB BLACKBOX_TESTS CONFIGURE_DEPENDS ${TESTS}/blackbox/test_*.py)
# test_scores compares with the notation program's rendering on Linux; the
# libraries built for Windows are checked by windows_programs.
foreach(posix_only test_faults test_scores test_sound test_terminal)
  list(REMOVE_ITEM BLACKBOX_TESTS ${TESTS}/blackbox/${posix_only}.py)
endforeach()
# Those that exercise only the shared music code, which Linux runs already,
# are labelled "shared": each costs wine minutes (a program start is a second
# or more), so make test leaves them out and make test-windows runs them.
set(SHARED_ONLY test_harmony test_practice test_tablature)
foreach(test ${BLACKBOX_TESTS})
  get_filename_component(name ${test} NAME_WE)
  add_test(NAME blackbox_${name} COMMAND /usr/bin/python3 ${test})
  set_tests_properties(blackbox_${name} PROPERTIES ENVIRONMENT
    "PAVSDI_BUILD=${CMAKE_BINARY_DIR};PAVSDI_SOURCE=${CMAKE_SOURCE_DIR};PAVSDI_WINE=${CMAKE_SOURCE_DIR}/scripts/wine-run;PAVSDI_WINE_DIR=${CMAKE_BINARY_DIR}/wine")
  if(name IN_LIST SHARED_ONLY)
    set_tests_properties(blackbox_${name} PROPERTIES LABELS shared)
  endif()
endforeach()

# Where the programs meet Windows itself: names and arguments with blanks
# and accents, a companion started from such a folder, scores read and
# written through the libraries built for Windows; pavsdi.exe in a console on
# a terminal under tmux; the built-in synthesizer (FluidSynth built for
# Windows) rendering into a WAV file.
foreach(name windows_programs windows_console windows_sound)
  add_test(NAME ${name} COMMAND /usr/bin/python3 ${TESTS}/windows/test_${name}.py)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT
    "PAVSDI_BUILD=${CMAKE_BINARY_DIR};PAVSDI_SOURCE=${CMAKE_SOURCE_DIR};PAVSDI_WINE=${CMAKE_SOURCE_DIR}/scripts/wine-run;PAVSDI_WINE_DIR=${CMAKE_BINARY_DIR}/wine")
endforeach()

# The installer, built first (make windows-installer), then installed and
# uninstalled silently in a prefix of its own.
add_test(NAME windows_installer_build COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target windows_installer)
set_tests_properties(windows_installer_build PROPERTIES FIXTURES_SETUP installer)
add_test(NAME windows_installer COMMAND /usr/bin/python3 ${TESTS}/windows/test_installer.py)
set_tests_properties(windows_installer PROPERTIES FIXTURES_REQUIRED installer ENVIRONMENT
  "PAVSDI_BUILD=${CMAKE_BINARY_DIR};PAVSDI_SOURCE=${CMAKE_SOURCE_DIR};PAVSDI_VERSION=${PROJECT_VERSION}")

# The native window, pavsdiw.exe, driven with keys on a virtual display with
# a window manager; window_probe.exe reads its windows in the same prefix.
add_executable(window_probe ${TESTS}/windows/window_probe.cpp)
set_target_properties(window_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_test(NAME native_window COMMAND /usr/bin/python3 ${TESTS}/windows/test_native_window.py)
set_tests_properties(native_window PROPERTIES RUN_SERIAL TRUE ENVIRONMENT
  "PAVSDI_BUILD=${CMAKE_BINARY_DIR};PAVSDI_SOURCE=${CMAKE_SOURCE_DIR};PAVSDI_WINE=${CMAKE_SOURCE_DIR}/scripts/wine-run")
