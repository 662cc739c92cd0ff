#pragma once
// The melody of a MIDI song as a chart draft.
#include <string>
#include <vector>

#include "chart_draft.h"
#include "midi_reader.h"

struct MelodyLineNote {
    long startTick;
    long endTick;
    int key;
    bool linked; // legato into the next note
};

// One note at a time: notes starting within 30 ms of each other, or overlapping the sounding note
// by more than 30 ms, keep the higher one; a note starting within 30 ms of the previous one's end
// on the same channel makes that one slide into it.
std::vector<MelodyLineNote> melodyLine(const MidiSong &song, const MidiTrack &track);

// The melody track: the first one named like melody, vocal, voice or lead (any case) that has
// notes off the drum channel, else the one whose melody line holds the most notes. -1 for none.
int melodyTrackIndex(const MidiSong &song);

// The melody line of track trackIndex; false, with the reason, when there is no such track or it
// has no notes off the drum channel.
bool trackMelody(const MidiSong &song, int trackIndex, std::vector<MelodyLineNote> &line, std::string &whyNot);

// The draft of a melody line: notes at their tempo-map times, pitch = key - 72 moved by the whole
// octaves (octaveShift) that leave the fewest notes to fold.
bool melodyDraft(const MidiSong &song, const std::vector<MelodyLineNote> &line, ChartDraft &draft, int &octaveShift,
                 std::string &whyNot);

// trackMelody, then melodyDraft.
bool midiDraft(const MidiSong &song, int trackIndex, ChartDraft &draft, int &octaveShift, std::string &whyNot);
