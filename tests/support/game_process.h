#pragma once
// The built game run as a user runs it: a copy in a fresh folder, started from another folder,
// on the display the tests run with, with its trace on stderr and keys injected with xdotool.
#include <sys/types.h>

#include <chrono>
#include <string>

#include "support/scratch_folder.h"

struct GameProcess {
    ScratchFolder folder;
    pid_t pid = -1;
    int exitStatus = -1;

    ~GameProcess();

    // Copies the executable and img/ beside it; data/ too unless the test writes its own.
    void install(bool withBundledData);
    // Starts the game; again after it ended, it runs once more in the same folder.
    void start();

    std::string trace() const;
    bool running();
    bool exitsWithin(std::chrono::milliseconds limit);
    // Position after the first line matching `pattern` found at or after `from`; npos when the
    // game ended or took longer than `limit`.
    size_t waitForTrace(const std::string &pattern, size_t from, std::chrono::milliseconds limit);
    // The game's window once it is on screen, with the keyboard focus handed to it; empty when it
    // did not appear in time.
    std::string waitForWindow();
    // Starts the game and waits for its window and its title screen, then waits out the menus' repeat
    // gate so that the next key counts. The trace position after "state Title"; npos when the
    // game did not get there.
    size_t startAtTitle();
};

// Runs xdotool with these arguments; true when it succeeded. A loaded display now and then
// refuses a new client for a moment, so a run that could not connect is tried again.
bool runXdotool(const std::string &arguments);

// Holds a key long enough for the game's polls to see it, as a player would. Down and up come from
// one xdotool run: on a loaded machine the start of a second run can take longer than the menus'
// 200 ms repeat, and a key held that long would step twice.
bool pressKey(const char *xdotoolKeyName, std::chrono::milliseconds hold);
