#pragma once

#include <cstdio>
#include <cstdlib>

namespace tarvelo::fuzz {

// Stops the run with what was violated, so that libFuzzer keeps the input as a crash.
inline void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "violated: %s\n", what);
    std::abort();
  }
}

}  // namespace tarvelo::fuzz
