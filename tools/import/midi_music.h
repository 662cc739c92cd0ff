#pragma once
// Music for a MIDI song that comes without any: its other tracks played by the demo songs'
// instruments (drums on channel 10), with the quiet guide melody on top, as the demo songs are made.
#include <string>

#include "midi_reader.h"

// Writes the music to target as Ogg Vorbis; false, with the reason, when it cannot be written.
bool renderMidiMusic(const MidiSong &song, int melodyTrack, const std::string &target, std::string &whyNot);
