#pragma once
// A Windows test program is one CTest test: GoogleTest ends a run with
// skipped cases as a success, so the program exits with the code CTest counts
// as skipped instead (SKIP_RETURN_CODE), unless a case failed.
#include <gtest/gtest.h>

inline constexpr int kSkippedExitCode = 77;

inline int RunAllTestsShowingSkips() {
    const int result = RUN_ALL_TESTS();
    const bool skipped = testing::UnitTest::GetInstance()->skipped_test_count() > 0;
    return result == 0 && skipped ? kSkippedExitCode : result;
}
