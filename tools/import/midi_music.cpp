#include "midi_music.h"

#include <algorithm>

#include "audio_conversion.h"
#include "drum_sounds.h"
#include "guide_melody.h"
#include "midi_chart.h"
#include "mixdown.h"
#include "ogg_writer.h"
#include "song_mapping.h"
#include "tonal_voices.h"

namespace {

const double RingOutMs = 2000.0;

Drum drumOfKey(int key)
{
    switch (key) {
    case 35:
    case 36:
        return Drum::Kick;
    case 37:
    case 38:
    case 39:
    case 40:
        return Drum::Snare;
    case 46:
        return Drum::OpenHat;
    case 49:
    case 52:
    case 55:
    case 57:
        return Drum::Crash;
    default:
        return Drum::ClosedHat;
    }
}

// Low tracks take the bass, the rest the piano.
bool isBassTrack(const MidiTrack &track)
{
    long sum = 0;
    long count = 0;
    for (const MidiNote &note : track.notes) {
        if (note.channel != DrumChannel) {
            sum += note.key;
            count++;
        }
    }
    return count > 0 && sum / count < 48;
}

} // namespace

bool renderMidiMusic(const MidiSong &song, int melodyTrack, const std::vector<MelodyLineNote> &melody,
                     const std::string &target, std::string &whyNot)
{
    double endMs = 0.0;
    for (const MidiTrack &track : song.tracks)
        for (const MidiNote &note : track.notes)
            endMs = std::max(endMs, midiTickMs(song, note.endTick));
    if (!withinSoundLength(0.0, endMs, whyNot)) // else buffers of days of sound
        return false;
    const size_t frames = frameAtMs(endMs + RingOutMs);
    SongStems stems{silentBuffer(frames), silentBuffer(frames), silentBuffer(frames), silentBuffer(frames),
                    silentBuffer(frames)};
    NoiseSource noise;
    for (size_t i = 0; i < song.tracks.size(); i++) {
        const MidiTrack &track = song.tracks[i];
        if (static_cast<int>(i) == melodyTrack) {
            std::vector<MelodyNote> guide;
            guide.reserve(melody.size());
            for (const MelodyLineNote &note : melody)
                guide.push_back({midiTickMs(song, note.startTick), midiTickMs(song, note.endTick), note.key - 72,
                                 note.linked, false});
            addGuideMelody(stems.guide, guide, 1.0);
            continue;
        }
        const bool bass = isBassTrack(track);
        for (const MidiNote &note : track.notes) {
            const double startMs = midiTickMs(song, note.startTick);
            const double velocity = note.velocity / 127.0;
            if (note.channel == DrumChannel) {
                addDrum(stems.drums, frameAtMs(startMs), drumOfKey(note.key), velocity, noise);
                continue;
            }
            const ToneNote tone{startMs, midiTickMs(song, note.endTick) - startMs, note.key - 72.0, velocity, 0.0};
            if (bass)
                addBassNote(stems.bass, tone);
            else
                addPianoNote(stems.piano, tone);
        }
    }
    const double msPerBeat = midiTickMs(song, song.ticksPerQuarter) - midiTickMs(song, 0);
    if (!writeOggVorbis(target, mixdown(stems, msPerBeat), VorbisQuality, VorbisSerial)) {
        whyNot = "cannot write " + target;
        return false;
    }
    return true;
}
