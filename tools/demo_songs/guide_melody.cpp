#include "guide_melody.h"

#include <algorithm>
#include <cmath>

#include "dsp.h"

static double smoothStep(double x)
{
    const double t = std::clamp(x, 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// Pitch of the run notes[first..last] at time ms: each linked note holds its pitch and then
// glides into the next one, arriving exactly at the next note's time.
static double runPitch(const std::vector<MelodyNote> &notes, size_t first, size_t last, double ms)
{
    size_t j = first;
    while (j < last && ms >= notes[j + 1].startMs)
        ++j;
    const MelodyNote &note = notes[j];
    const double sinceStart = (ms - note.startMs) / 1000.0;
    const double vibratoDepth = 0.1 * smoothStep((sinceStart - 0.3) / 0.3);
    const double vibrato = vibratoDepth * std::sin(2.0 * M_PI * 5.2 * sinceStart);
    if (j == last)
        return note.pitch + vibrato;
    const double glideStart = std::max(note.startMs, note.endMs - std::min(260.0, 0.5 * (note.endMs - note.startMs)));
    const double glide = smoothStep((ms - glideStart) / (note.endMs - glideStart));
    return note.pitch + (notes[j + 1].pitch - note.pitch) * glide + vibrato * (1.0 - glide);
}

static void addRun(StereoBuffer &buffer, const std::vector<MelodyNote> &notes, size_t first, size_t last,
                   double velocity)
{
    const double startMs = notes[first].startMs;
    const double lengthMs = notes[last].endMs - startMs;
    // Each phrase ends silent at its end so the next note starts clean and the player hears it begin.
    const double releaseMs = std::min(60.0, 0.3 * lengthMs);
    const double loudness = velocity * (notes[first].ghost ? 0.55 : 1.0);
    const size_t firstFrame = frameAtMs(startMs);
    const size_t frames = frameAtMs(notes[last].endMs) - firstFrame;
    const PanGains centre = panGains(0.0);
    double phase = 0.0;
    for (size_t i = 0; i < frames; ++i) {
        const double ms = startMs + 1000.0 * static_cast<double>(i) / SampleRate;
        phase += 2.0 * M_PI * pitchHz(runPitch(notes, first, last, ms)) / SampleRate;
        phase = std::fmod(phase, 2.0 * M_PI);
        const double level = attackReleaseLevel((ms - startMs) / 1000.0, 0.012, (lengthMs - releaseMs) / 1000.0,
                                                releaseMs / 1000.0);
        // Low harmonics that never add zero crossings of their own: a round, flute-like tone.
        const double tone = std::sin(phase) + 0.3 * std::sin(2.0 * phase) + 0.12 * std::sin(3.0 * phase);
        addFrame(buffer, firstFrame + i, loudness * level * tone, centre);
    }
}

void addGuideMelody(StereoBuffer &buffer, const std::vector<MelodyNote> &notes, double velocity)
{
    size_t first = 0;
    while (first < notes.size()) {
        size_t last = first;
        while (last + 1 < notes.size() && notes[last].linked && notes[last].endMs >= notes[last + 1].startMs)
            ++last;
        addRun(buffer, notes, first, last, velocity);
        first = last + 1;
    }
}
