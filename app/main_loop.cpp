#include "app/main_loop.h"

#include "audio/voice_wake.h"
#include "game/menus.h"
#include "game/play_update.h"
#include "gfx/render_frame.h"
#include "platform/frame_trace.h"
#include "platform/keys.h"
#include "platform/message_pump.h"
#include "platform/timer.h"
#include "platform/trace.h"
#include "rules/count_up.h"
#include "rules/menu_state.h"
#include "rules/shell_state.h"

namespace {

// When the swap does not wait for the display, frames start on a schedule of 60 a second, counted
// from the frame that started it. Waiting out only the rest of each frame keeps the rate whatever
// the frame's own work costs; a frame that starts late restarts the schedule instead of making the
// next ones come sooner, so rules counted in frames never run faster than 60 a second.
struct FrameSchedule {
    uint32_t originMs = 0;
    uint64_t frames = 0; // frames started on schedule since originMs
};

FrameSchedule schedule;

constexpr uint32_t LateToleranceMs = 1; // the timer's own granularity

// Milliseconds to wait before this frame starts; the frame is counted on the schedule.
uint32_t waitForNextFrame(uint32_t nowMs)
{
    // The due time in microseconds, rounded up to the timer's milliseconds.
    const uint64_t dueUs = (schedule.frames + 1) * 1000000 / 60;
    const uint32_t startMs = schedule.originMs + uint32_t((dueUs + 999) / 1000);
    const int32_t ahead = int32_t(startMs - nowMs);
    if (ahead < -int32_t(LateToleranceMs) || ahead > 17) {
        // Late (the work overran, the game stalled) or a clock that went back: start now.
        schedule = FrameSchedule{nowMs, 0};
        return 0;
    }
    schedule.frames++;
    return ahead > 0 ? uint32_t(ahead) : 0;
}

void waitForFrame()
{
    const uint32_t nowMs = timerNowMs();
    if (shell.swapControlMissing) {
        // The swap waits for the display and paces the frames; a swap-paced frame is due now.
        schedule = FrameSchedule{nowMs, 0};
        pumpMessagesFor(1);
        return;
    }
    const uint32_t waitMs = waitForNextFrame(nowMs);
    if (waitMs > 0)
        pumpMessagesFor(waitMs);
    else
        pumpWaitingMessages();
}

const char *stateName(int state)
{
    switch (state) {
    case Select:
        return "Select";
    case Play:
        return "Play";
    case Title:
        return "Title";
    case Result:
        return "Result";
    case Calibrate:
        return "Calibrate";
    default:
        return "?";
    }
}

} // namespace

void runFrame()
{
    waitForFrame();
    const uint64_t workStartUs = timerNowUs();
    switch (menu.state.load(std::memory_order_relaxed)) {
    case Select:
        menu.autoplay = 0;
        updateMenus();
        break;
    case Calibrate:
        updateMenus();
        break;
    case Play:
        updateMenus();
        updatePlay();
        break;
    case Title:
    case Result:
        updateCreditCountUp();
        updateMenus();
        break;
    }
    wakeVoicesOnPress();
    renderFrame();
    keysEndFrame();
    traceFrameWork(timerNowUs() - workStartUs);
}

void runMainLoop()
{
    int tracedState = menu.state.load(std::memory_order_relaxed);
    trace("state %s", stateName(tracedState));
    while (!shell.quitRequested) {
        runFrame();
        const int state = menu.state.load(std::memory_order_relaxed);
        if (state != tracedState) {
            tracedState = state;
            trace("state %s", stateName(state));
        }
    }
    trace("quit");
}
