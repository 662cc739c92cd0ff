#pragma once

// F1 on the title and select screens opens the help page; while it is shown, any key closes it
// and does nothing else. Returns true when the page took this frame's keys, so the screen's own
// keys are not read.
bool updateHelpPage(int state);
