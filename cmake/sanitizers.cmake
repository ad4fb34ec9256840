# Builds that look for memory and undefined-behaviour faults, on Linux and in
# a build directory of their own (scripts/test uses build-sanitize):
#   QUENMAREL_SANITIZE  every target, the stand-in RFC library and rfcsim
#                       included, with AddressSanitizer and
#                       UndefinedBehaviorSanitizer; the first report ends the
#                       process with a failure.
#   QUENMAREL_FUZZ      the libFuzzer targets of tests/fuzz as well (clang
#                       only); implies QUENMAREL_SANITIZE.
option(QUENMAREL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(QUENMAREL_FUZZ "Build the libFuzzer targets of tests/fuzz (clang, implies QUENMAREL_SANITIZE)" OFF)

if(QUENMAREL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUENMAREL_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  set(QUENMAREL_SANITIZE ON CACHE BOOL "Build with AddressSanitizer and UndefinedBehaviorSanitizer" FORCE)
endif()

# A shared library of ours resolves every symbol itself, so that a missing
# one fails the link rather than a run; a sanitized one cannot, since the
# sanitizers' runtime lies in the executable that loads it.
set(QUENMAREL_SHARED_LIBRARY_CHECKS -Wl,--no-undefined)

if(QUENMAREL_SANITIZE)
  set(QUENMAREL_SHARED_LIBRARY_CHECKS "")
  if(WIN32 OR CMAKE_CROSSCOMPILING)
    message(FATAL_ERROR "QUENMAREL_SANITIZE is for native Linux builds")
  endif()
  # The library the sensor and the tests load is built with the same flags,
  # so a fault on either side of the interface is found.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(QUENMAREL_FUZZ)
  # Coverage feedback from every library a fuzz target links; each target
  # adds the fuzzer's own main (tests/fuzz).
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
