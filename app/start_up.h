#pragma once
// Start-up, the main loop and shutdown; called once the window and GL context exist.
int runApplication();
