#pragma once
// Opens the window with its GL context at the load-time client size, turns off the wait for the
// display when it can (swapControlMissing), sets the white clear colour, the icon and the
// smallest size, and shows it. False when no window could be opened.
bool openGameWindow();
