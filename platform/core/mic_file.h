#pragma once
// The recording named by LUMATIDE_MIC_FILE, which stands in for a microphone: read whole at
// start-up, then played into the capture callback in real time, from its first frame at each
// song start and as silence before the first song and after its end.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/capture.h"

struct MicRecording {
    std::vector<float> samples; // mono, full scale +-1
    int sampleRate = 0;
};

// WAV (8, 16, 24 or 32-bit integer PCM or 32-bit float) or Ogg Vorbis, mixed down to mono.
// False with the reason (fit for a stderr line) when the file cannot be used.
bool micRecordingLoad(const std::string &path, MicRecording &recording, std::string &reason);

// The block that starts at output frame `firstFrame` of the capture's frame count, for a song
// that started at output frame `songStartFrame` (negative: no song started yet, all silence).
void micRecordingFill(const MicRecording &recording, int64_t songStartFrame, int64_t firstFrame, float *out,
                      int frames);

// Plays the recording on a thread of its own in blocks of CaptureMaxBlockFrames, at the pace of
// `clockUs` (a monotonic microsecond clock): the game passes the music's heard clock, so the
// recording keeps step with the song clock even on an output that runs slow. False when the
// thread could not be started.
bool micFileStart(MicRecording &&recording, CaptureBlockCallback callback, void *instance, uint64_t (*clockUs)());
// The recording's first frame is the frame due at the instant of the call.
void micFileSongStart();
void micFileStop();
