# Included before any target is made, so every library the fuzz programs reach gets the fuzzer's
# coverage instrumentation, not only the programs themselves.
option(SWIFTLANE_FUZZ "Build the libFuzzer targets in fuzz/ (clang, with SWIFTLANE_SANITIZE)" OFF)
if(SWIFTLANE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "SWIFTLANE_FUZZ needs clang (libFuzzer): -DCMAKE_CXX_COMPILER=clang++-14")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
