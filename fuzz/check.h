// The fuzzers' checks: a failed one names itself, then traps, whatever NDEBUG
// says.
#pragma once

#include <cstdio>

namespace tavrix::fuzz {

[[noreturn]] inline void Fail(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
  __builtin_trap();
}

}  // namespace tavrix::fuzz

#define CHECK(condition)                                                    \
  do {                                                                      \
    if (!(condition)) ::tavrix::fuzz::Fail(__FILE__, __LINE__, #condition); \
  } while (false)
