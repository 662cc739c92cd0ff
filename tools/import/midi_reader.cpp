#include "midi_reader.h"

#include <algorithm>
#include <map>

namespace {

const long ShortestQuarterMicroseconds = 600;

struct Cursor {
    const std::string &bytes;
    size_t at;
    size_t end;
};

bool readByte(Cursor &cursor, int &value)
{
    if (cursor.at >= cursor.end)
        return false;
    value = static_cast<unsigned char>(cursor.bytes[cursor.at++]);
    return true;
}

bool readFixed(Cursor &cursor, int count, long &value)
{
    value = 0;
    for (int i = 0; i < count; i++) {
        int byte;
        if (!readByte(cursor, byte))
            return false;
        value = value << 8 | byte;
    }
    return true;
}

bool readVariable(Cursor &cursor, long &value)
{
    value = 0;
    for (int i = 0; i < 4; i++) {
        int byte;
        if (!readByte(cursor, byte))
            return false;
        value = value << 7 | (byte & 0x7F);
        if ((byte & 0x80) == 0)
            return true;
    }
    return false;
}

// Notes still sounding, by channel and key: a note-on of the same key stacks.
using HeldNotes = std::map<int, std::vector<MidiNote>>;

void endNote(HeldNotes &held, MidiTrack &track, int channel, int key, long tick)
{
    auto found = held.find(channel * 128 + key);
    if (found == held.end() || found->second.empty())
        return;
    MidiNote note = found->second.front();
    found->second.erase(found->second.begin());
    note.endTick = tick;
    track.notes.push_back(note);
}

bool readTrack(Cursor cursor, MidiSong &song, MidiTrack &track, std::string &whyNot)
{
    long tick = 0;
    int status = 0;
    HeldNotes held;
    while (cursor.at < cursor.end) {
        long delta;
        int byte;
        if (!readVariable(cursor, delta) || !readByte(cursor, byte)) {
            whyNot = "a track breaks off";
            return false;
        }
        tick += delta;
        if (byte == 0xFF) {
            int type;
            long length;
            if (!readByte(cursor, type) || !readVariable(cursor, length) ||
                static_cast<size_t>(length) > cursor.end - cursor.at) {
                whyNot = "a meta event breaks off";
                return false;
            }
            const std::string data = cursor.bytes.substr(cursor.at, static_cast<size_t>(length));
            cursor.at += static_cast<size_t>(length);
            if (type == 0x03 && track.name.empty())
                track.name = data;
            else if (type == 0x51 && length == 3) {
                const long perQuarter = static_cast<long>(static_cast<unsigned char>(data[0])) << 16 |
                                        static_cast<unsigned char>(data[1]) << 8 | static_cast<unsigned char>(data[2]);
                // Faster than 100000 quarters a minute no music plays, and 0 would stop time.
                if (perQuarter < ShortestQuarterMicroseconds) {
                    whyNot = "a tempo of " + std::to_string(perQuarter) + " microseconds a quarter note";
                    return false;
                }
                song.tempos.push_back({tick, perQuarter});
            } else if (type == 0x2F)
                break;
            continue;
        }
        if (byte == 0xF0 || byte == 0xF7) {
            long length;
            if (!readVariable(cursor, length) || static_cast<size_t>(length) > cursor.end - cursor.at) {
                whyNot = "a system-exclusive event breaks off";
                return false;
            }
            cursor.at += static_cast<size_t>(length);
            continue;
        }
        int first;
        if (byte & 0x80) {
            status = byte;
            if (!readByte(cursor, first)) {
                whyNot = "an event breaks off";
                return false;
            }
        } else if (status != 0) {
            first = byte; // running status
        } else {
            whyNot = "data without a status byte";
            return false;
        }
        const int kind = status & 0xF0;
        const int channel = status & 0x0F;
        int second = 0;
        if (kind != 0xC0 && kind != 0xD0 && !readByte(cursor, second)) {
            whyNot = "an event breaks off";
            return false;
        }
        if (kind == 0x90 && second > 0) {
            MidiNote note;
            note.startTick = tick;
            note.key = first;
            note.channel = channel;
            note.velocity = second;
            held[channel * 128 + first].push_back(note);
        } else if (kind == 0x80 || kind == 0x90) {
            endNote(held, track, channel, first, tick);
        }
    }
    for (auto &entry : held) // notes never released end with the track
        for (MidiNote note : entry.second) {
            note.endTick = tick;
            track.notes.push_back(note);
        }
    std::stable_sort(track.notes.begin(), track.notes.end(),
                     [](const MidiNote &a, const MidiNote &b) { return a.startTick < b.startTick; });
    return true;
}

} // namespace

bool readMidi(const std::string &bytes, MidiSong &song, std::string &whyNot)
{
    song = MidiSong{};
    Cursor cursor{bytes, 0, bytes.size()};
    long headerLength, format, trackCount, division;
    if (bytes.compare(0, 4, "MThd") != 0 || (cursor.at = 4, !readFixed(cursor, 4, headerLength)) || headerLength < 6 ||
        !readFixed(cursor, 2, format) || !readFixed(cursor, 2, trackCount) || !readFixed(cursor, 2, division)) {
        whyNot = "not a standard MIDI file";
        return false;
    }
    if (format > 1) {
        whyNot = "MIDI type " + std::to_string(format) + " (only types 0 and 1 are read)";
        return false;
    }
    if (division & 0x8000) {
        const int framesPerSecond = -static_cast<signed char>(division >> 8);
        const long ticksPerFrame = division & 0xFF;
        // 29 stands for drop-frame time code, whose frames run at 30000/1001 a second.
        if ((framesPerSecond != 24 && framesPerSecond != 25 && framesPerSecond != 29 && framesPerSecond != 30) ||
            ticksPerFrame == 0) {
            whyNot = "a time division of " + std::to_string(framesPerSecond) + " frames a second and " +
                     std::to_string(ticksPerFrame) + " ticks a frame";
            return false;
        }
        const double framesEverySecond = framesPerSecond == 29 ? 30000.0 / 1001.0 : framesPerSecond;
        song.msPerTick = 1000.0 / (framesEverySecond * static_cast<double>(ticksPerFrame));
    } else if (division == 0) {
        whyNot = "a time division of 0";
        return false;
    } else {
        song.ticksPerQuarter = static_cast<int>(division);
    }
    cursor.at = 8 + static_cast<size_t>(headerLength);
    for (long i = 0; i < trackCount && cursor.at + 8 <= bytes.size(); i++) {
        long length;
        const bool isTrack = bytes.compare(cursor.at, 4, "MTrk") == 0;
        cursor.at += 4;
        if (!readFixed(cursor, 4, length) || static_cast<size_t>(length) > bytes.size() - cursor.at) {
            whyNot = "a track runs past the end of the file";
            return false;
        }
        if (isTrack) {
            MidiTrack track;
            if (!readTrack(Cursor{bytes, cursor.at, cursor.at + static_cast<size_t>(length)}, song, track, whyNot))
                return false;
            song.tracks.push_back(track);
        }
        cursor.at += static_cast<size_t>(length);
    }
    std::stable_sort(song.tempos.begin(), song.tempos.end(),
                     [](const TempoChange &a, const TempoChange &b) { return a.tick < b.tick; });
    return true;
}

double midiTickMs(const MidiSong &song, long tick)
{
    if (song.msPerTick > 0.0)
        return tick * song.msPerTick;
    double ms = 0.0;
    long at = 0;
    long perQuarter = 500000;
    for (const TempoChange &change : song.tempos) {
        if (change.tick >= tick)
            break;
        ms += (change.tick - at) * perQuarter / 1000.0 / song.ticksPerQuarter;
        at = change.tick;
        perQuarter = change.microsecondsPerQuarter;
    }
    return ms + (tick - at) * perQuarter / 1000.0 / song.ticksPerQuarter;
}
