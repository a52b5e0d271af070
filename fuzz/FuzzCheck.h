// A broken invariant must crash the harness: libFuzzer keeps the input that
// crashed, and the replay test fails on it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define VELMORA_FUZZ_CHECK(condition, what)                                        \
  do {                                                                              \
    if (!(condition)) {                                                             \
      std::fprintf(stderr, "%s:%d: invariant broken: %s (%s)\n", __FILE__, __LINE__, \
                   (what), #condition);                                             \
      std::abort();                                                                 \
    }                                                                               \
  } while (false)
