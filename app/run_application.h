#pragma once
struct PlatformThread;

// Reads conf.ini, loads the images, starts the voice thread and opens the voices, loads the songs
// and their titles and the ranking, and enters the title screen. Returns the voice thread.
PlatformThread *startUp();

// Releases everything startUp made; the voice thread is stopped and joined before the voices
// and buffers it uses go.
void shutDown(PlatformThread *voiceThreadHandle);

// startUp, the main loop until a quit is requested, shutDown. Called once the window and its GL
// context exist.
void runApplication();
