// The test programs' RUN_ALL_TESTS() for CTest: a program whose tests all
// skipped themselves (GTEST_SKIP(), in a test or in its fixture's SetUp) exits
// with the status CTest is told means skipped, instead of passing.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>

namespace tavrix::testing {

// The tests' SKIP_RETURN_CODE in CTest.
inline constexpr int kSkippedExitStatus = 77;

// Runs the tests. A program in which every test that ran was skipped exits
// with kSkippedExitStatus; one in which some passed and others were skipped
// passes, and Google Test lists the skipped ones.
inline int RunAllTests() {
  const int status = RUN_ALL_TESTS();
  const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
  if (status == 0 && unit.test_to_run_count() > 0 && unit.skipped_test_count() == unit.test_to_run_count()) {
    std::printf("Every test that ran was skipped: exit status %d (skipped).\n", kSkippedExitStatus);
    std::fflush(stdout);
    return kSkippedExitStatus;
  }
  return status;
}

}  // namespace tavrix::testing
