# Every test runs through tests/hermetic.sh, in an environment of its own: whoever runs
# ctest, from a desktop session or from nothing, hands the tests nothing of theirs.

get_filename_component(TARVELO_TESTS_DIR "${CMAKE_CURRENT_LIST_DIR}/../tests" ABSOLUTE)
set(TARVELO_HERMETIC sh ${TARVELO_TESTS_DIR}/hermetic.sh)

# Leak checks stay on; what LeakSanitizer reports of system libraries is named in the
# suppression file, each entry with its reason.
set(TARVELO_SANITIZER_ENV)
if(CMAKE_CXX_FLAGS MATCHES "sanitize=[^ ]*address")
  list(APPEND TARVELO_SANITIZER_ENV
    ASAN_OPTIONS=detect_leaks=1
    LSAN_OPTIONS=suppressions=${TARVELO_TESTS_DIR}/lsan.supp:print_suppressions=0
    UBSAN_OPTIONS=print_stacktrace=1
    # Qt 6.8's desktop services ask the desktop portal for its version as the program
    # starts; the tests' private bus has no portal, and a refusal still on its way at exit
    # leaves Qt's pending call allocated, in short runs on a loaded machine only.
    QT_NO_XDG_DESKTOP_PORTAL=1)
endif()

# tarvelo_add_test(<name> [X11] [WAYLAND] [DBUS] [DESKTOP <gnome|kde|sway>] [ENV NAME=VALUE...]
#                  COMMAND <command> [args...])
# X11: a private Xvfb; WAYLAND: a private weston on it; DBUS: a private session bus;
# DESKTOP: a private headless compositor of that desktop, with its session bus.
# ENV: the test's own settings. A target named first in COMMAND stands for its file.
function(tarvelo_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "X11;WAYLAND;DBUS" "DESKTOP" "ENV;COMMAND")
  set(flags)
  foreach(flag IN ITEMS X11 WAYLAND DBUS)
    if(arg_${flag})
      string(TOLOWER ${flag} lower)
      list(APPEND flags --${lower})
    endif()
  endforeach()
  if(arg_DESKTOP)
    list(APPEND flags --desktop ${arg_DESKTOP})
  endif()
  list(POP_FRONT arg_COMMAND program)
  if(TARGET ${program})
    set(program $<TARGET_FILE:${program}>)
  endif()
  add_test(NAME ${name}
    COMMAND ${TARVELO_HERMETIC} ${flags} ${TARVELO_SANITIZER_ENV} ${arg_ENV}
            ${program} ${arg_COMMAND})
endfunction()

# The same for the tests that gtest_discover_tests registers from TARGET: on the build
# machine each runs through the wrapper; a cross build keeps its emulator.
function(tarvelo_run_tests_hermetic target)
  if(NOT CMAKE_CROSSCOMPILING)
    set_target_properties(${target} PROPERTIES
      CROSSCOMPILING_EMULATOR "${TARVELO_HERMETIC};${TARVELO_SANITIZER_ENV}")
  endif()
endfunction()
