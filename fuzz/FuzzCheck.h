// A failed property in a fuzz target: print what was expected and abort, so
// that libFuzzer records the input as a crash.
#pragma once
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(Condition)                                                                                \
    do {                                                                                                     \
        if (!(Condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #Condition);            \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)
