#pragma once
// Music for a MIDI song that comes without any: its other tracks played by the demo songs'
// instruments (drums on channel 10), with the quiet guide melody on top, as the demo songs are made.
#include <string>

#include "midi_chart.h"
#include "midi_reader.h"

// melody is the line of melodyTrack, played as the guide melody in place of that track. Writes the music to target as
// Ogg Vorbis; false, with the reason, when it cannot be written.
bool renderMidiMusic(const MidiSong &song, int melodyTrack, const std::vector<MelodyLineNote> &melody,
                     const std::string &target, std::string &whyNot);
