#pragma once
// The tone's wave shapes in the order the wave key cycles through them; the wave icons are drawn
// in the same order.
enum WaveType { WaveSine = 0, WaveSquare = 1, WavePulse = 2, WaveTriangle = 3, WaveSawtooth = 4 };
constexpr int WaveTypeCount = 5;
