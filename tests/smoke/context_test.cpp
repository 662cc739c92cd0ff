#include <gtest/gtest.h>

#include "app/app_context.h"

TEST(AppContext, LoadTimeValues)
{
    resetAppContext();
    EXPECT_EQ(window.clientWidth.load(), 640);
    EXPECT_EQ(synth.referenceHz, 523);
    EXPECT_EQ(credit.newRankIndex, 10);
    EXPECT_EQ(menu.state.load(), Title);
}
