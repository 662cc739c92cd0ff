#pragma once
#include <string>

// How imported music is encoded.
const float VorbisQuality = 0.5f; // libvorbisenc's scale: 0.5 is quality 5
const int VorbisSerial = 1;       // fixed, so the same source gives the same file

// Writes the music of source to target as Ogg Vorbis: an Ogg Vorbis source is copied unchanged,
// anything else is decoded (mp3, FLAC, WAV, Opus, m4a/AAC, ...) and encoded at quality 5 with its sample rate
// and channel count. False, with the reason, when the source cannot be read or decoded or the
// target cannot be written.
bool convertMusic(const std::string &source, const std::string &target, std::string &whyNot);
