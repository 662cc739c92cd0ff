// The screen tests read trace lines, and trace() looks at LUMATIDE_TRACE once, at its first line:
// it is switched on here, before any test can trace. This main takes the place of gtest_main's.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    setenv("LUMATIDE_TRACE", "1", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
