#include <gtest/gtest.h>

#include "app/app_context.h"

TEST(AppContext, LoadTimeValues)
{
    resetAppContext();
    EXPECT_EQ(app.window.clientWidth.load(), 640);
    EXPECT_EQ(app.synth.referenceHz, 523);
    EXPECT_EQ(app.credit.newRankIndex, 10);
    EXPECT_EQ(app.menu.state.load(), Title);
}
