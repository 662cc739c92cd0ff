#pragma once
// Room and echo for the mix, each fed from a send buffer and returning only the wet signal.
#include "stereo_buffer.h"

StereoBuffer reverb(const StereoBuffer &send);

// Ping-pong echo: each repeat moves to the other side and loses some treble.
StereoBuffer echo(const StereoBuffer &send, double delayMs, double feedback);
