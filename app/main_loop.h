#pragma once
// One frame: wait out the frame's pacing while dispatching window messages, update the current
// screen, draw. Taps that no poll of the frame read are forgotten at its end.
void runFrame();

// Frames until a quit is requested, with a trace line at every change of screen and at the end.
void runMainLoop();
