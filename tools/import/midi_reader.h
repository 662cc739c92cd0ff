#pragma once
// Standard MIDI files, types 0 and 1: the notes of every track and the tempo map.
#include <cstdint>
#include <string>
#include <vector>

const int DrumChannel = 9; // channel 10 as musicians count

struct MidiNote {
    long startTick = 0;
    long endTick = 0;
    int key = 60;    // 60 is middle C
    int channel = 0; // 0..15; DrumChannel is the drums
    int velocity = 100;
};

struct MidiTrack {
    std::string name;            // the first track-name meta event
    std::vector<MidiNote> notes; // in start order
};

struct TempoChange {
    long tick = 0;
    long microsecondsPerQuarter = 500000;
};

struct MidiSong {
    int ticksPerQuarter = 480;
    double msPerTick = 0.0; // SMPTE time division: a fixed length; 0 for the tempo map
    std::vector<MidiTrack> tracks;
    std::vector<TempoChange> tempos; // from every track, in tick order
};

// False, with the reason, when the bytes are no standard MIDI file of type 0 or 1.
bool readMidi(const std::string &bytes, MidiSong &song, std::string &whyNot);

// Absolute ms of a tick through the tempo map (120 BPM before the first tempo event).
double midiTickMs(const MidiSong &song, long tick);
