#pragma once
// Music libsndfile does not read (m4a/AAC above all), decoded with FFmpeg's libraries.
#include <string>
#include <vector>

struct DecodedMusic {
    int sampleRate = 0;
    int channelCount = 0;
    std::vector<float> interleaved;
};

// The first audio stream of the file, whole; false, with the reason, when there is none or it
// cannot be decoded.
bool decodeWithLibav(const std::string &path, DecodedMusic &music, std::string &whyNot);
