#pragma once
// Ogg Vorbis encoding of the finished music.
#include <string>

#include "stereo_buffer.h"

// Music of any rate and channel count, held either as one array per channel or interleaved.
struct PcmView {
    const float *const *planar; // one array per channel, or null
    const float *interleaved;   // used when planar is null
    int channelCount;
    int sampleRate;
    size_t frames;

    float sample(int channel, size_t frame) const
    {
        return planar ? planar[channel][frame] : interleaved[frame * static_cast<size_t>(channelCount) + channel];
    }
};

// Quality is libvorbisenc's VBR scale (-0.1 .. 1). The stream serial number is fixed so that the
// same music gives the same file. False when the file cannot be written or the encoder refuses.
bool writeOggVorbis(const std::string &path, const StereoBuffer &music, float quality, int serial);
bool writeOggVorbis(const std::string &path, const PcmView &music, float quality, int serial);
