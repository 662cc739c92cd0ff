#pragma once
// Stand-ins for the subsystems the shell drives, linked in place of the real ones: each call is
// written down as one step, so tests see what the shell ran and in which order.
#include <functional>
#include <string>
#include <vector>

// Forgets the steps so far and any hook.
void clearSteps();
std::vector<std::string> takenSteps();

// Runs inside every updateMenus after its step is written down (a screen's own key handling).
void onUpdateMenus(std::function<void()> hook);
