// The help page's keys on the fake backend: any key closes the page, one the game has no code
// for too, and the key that closed it does nothing to the screen beneath.
#include <gtest/gtest.h>

#include "app/app_context.h"
#include "game/help_keys.h"
#include "platform/fake/fake_platform.h"
#include "platform/keys.h"
#include "rules/help_state.h"
#include "rules/menu_state.h"

namespace {

class HelpKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAppContext();
        fakeResetPlatform();
        help.shown = 1;
    }
    void TearDown() override { help.shown = 0; }
};

TEST_F(HelpKeys, AnyKeyClosesThePageAndNothingElseSeesIt)
{
    const struct {
        const char *name;
        void (*press)();
        int mappedKey; // 0 when the key has no code
    } cases[] = {
        {"a key the game has no code for (X)", [] { fakePressOtherKey(); }, 0},
        {"space, tapped", [] { fakeTapKey(KeySpace); }, KeySpace},
        {"escape, tapped", [] { fakeTapKey(KeyEscape); }, KeyEscape},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        help.shown = 1;
        c.press();
        EXPECT_TRUE(updateHelpPage(Select));
        EXPECT_EQ(help.shown, 0);
        if (c.mappedKey != 0) {
            EXPECT_FALSE(keyIsDown(c.mappedKey)) << "the closing key does not reach the screen";
        }
        keysEndFrame();
    }
}

TEST_F(HelpKeys, WithNoKeyThePageStaysAndTakesTheFrame)
{
    for (int frame = 0; frame < 3; frame++) {
        EXPECT_TRUE(updateHelpPage(Title));
        keysEndFrame();
    }
    EXPECT_EQ(help.shown, 1);
}

TEST_F(HelpKeys, AKeyOfAnEarlierFrameDoesNotClose)
{
    // Pressed while the page was not yet up (F1's own frame): gone with that frame.
    fakePressOtherKey();
    keysEndFrame();
    EXPECT_TRUE(updateHelpPage(Title));
    EXPECT_EQ(help.shown, 1);
}

} // namespace
