#pragma once
// A demo song rendered as separate instrument groups, mixed down later with their own effects.
#include <cstddef>

#include "song_sheet.h"
#include "stereo_buffer.h"

struct SongStems {
    StereoBuffer drums;
    StereoBuffer bass;
    StereoBuffer pad;
    StereoBuffer piano;
    StereoBuffer guide;
};

// The music runs from frame 0 (the song clock's zero) to the end of the last measure, plus the
// time the final chord needs to ring out.
size_t songFrames(const SongSheet &sheet);

SongStems renderStems(const SongSheet &sheet);
