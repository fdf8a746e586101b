#pragma once

#include <QString>

#include <cstdio>
#include <cstdlib>

/// Stops the run with `property` and `detail`. libFuzzer treats the abort as a crash: it prints the
/// input and keeps it as an artifact to reproduce with.
[[noreturn]] inline void FailProperty(const char* property, const QString& detail)
{
    std::fprintf(stderr, "\nproperty violated: %s\n%s\n", property, detail.toUtf8().constData());
    std::abort();
}

/// Checks a property of the code under test; `detail` (a QString expression) is only built when
/// the property does not hold, so a passing check costs no allocation.
#define FUZZ_REQUIRE(holds, property, detail)                                                                          \
    do {                                                                                                               \
        if (!(holds))                                                                                                  \
            FailProperty(property, detail);                                                                            \
    } while (false)

/// Equal, or both NaN: a missing value is NaN on both sides of a comparison.
inline bool SameValue(double a, double b)
{
    return a == b || (a != a && b != b);
}
