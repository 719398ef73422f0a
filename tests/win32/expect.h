#pragma once

#include <cstdio>

// The Windows test programs' one kind of check: a failure is printed for the test script, which
// shows it, and counted for the exit status.
inline int& Failures() {
    static int failures = 0;
    return failures;
}

inline void Expect(bool ok, const char* control, const char* what, long got, long want) {
    if (!ok) {
        std::printf("FAIL %s %s: %ld, want %ld\n", control, what, got, want);
        ++Failures();
    }
}
