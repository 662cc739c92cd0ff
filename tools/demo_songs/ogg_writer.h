#pragma once
// Ogg Vorbis encoding of the finished music.
#include <string>

#include "stereo_buffer.h"

// Quality is libvorbisenc's VBR scale (-0.1 .. 1). The stream serial number is fixed so that the
// same music gives the same file. False when the file cannot be written or the encoder refuses.
bool writeOggVorbis(const std::string &path, const StereoBuffer &music, float quality, int serial);
