#pragma once
// Control of the fake PCM output: whether pcmStartOutput finds a real output (it does by default).
// Either way the mixer is started on the fake timer, as the silent output would be.
void fakeSetPcmOutputOpens(bool opens);
