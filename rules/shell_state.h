#pragma once
// Never wiped: start-up and shutdown. The shell (app/) reads bufferLengthMs from conf.ini at
// start-up, notes swapControlMissing when it opens the window and runs and stops the voice thread
// by voiceThreadRunning; quitRequested is set by the window's close and by Escape on the title
// screen (game/). The voice thread reads bufferLengthMs and voiceThreadRunning.
#include <atomic>

struct ShellState {
    int bufferLengthMs = 20;
    int swapControlMissing = 1;
    int quitRequested = 0;
    std::atomic<int> voiceThreadRunning{0};
};

extern ShellState shell;
