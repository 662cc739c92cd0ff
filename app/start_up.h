#pragma once
// Start-up, the main loop and shutdown; called once the window and GL context exist. Returns
// when the loop has ended and everything start-up made is released.
int runApplication();
