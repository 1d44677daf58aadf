/* A test program that ends with status 0 in the middle of its tests, as a
 * product routine that ends its process would. The harness must fail it. */
#include <windows.h>
#include <gtest/gtest.h>

TEST(ExitHalfway, RunsFirst) { EXPECT_EQ(1 + 1, 2); }

TEST(ExitHalfway, EndsTheProcess) { ExitProcess(0); }

TEST(ExitHalfway, NeverRuns) { EXPECT_EQ(2 + 2, 4); }
