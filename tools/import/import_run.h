#pragma once
// lumatide-chart import: karaoke songs and MIDI melodies into the game's song list.
#include <string>
#include <vector>

struct ImportOptions {
    std::vector<std::string> sources; // song files or folders searched recursively
    std::string into;                 // the song list's folder
    int part = 1;                     // duet part
    std::string audio;                // music for every source instead of the one it names
    int track = 0;                    // MIDI melody track, from 1; 0 chooses it
    bool force = false;               // import again what was imported from the same source
};

struct ImportSummary {
    int imported = 0;
    int skipped = 0;
    int failed = 0;
};

// False, with the reason, when the arguments after "import" are wrong. into defaults to the folder
// the game reads the player's own songs from.
bool readImportArguments(const std::vector<std::string> &arguments, ImportOptions &options, std::string &whyNot);

// Imports every song, appends the new charts to into/songlist.txt, writes into/import-report.txt and
// prints a summary (and, on a terminal, a progress line). A song that fails in any way, a library's
// exception included, fails alone. Returns the exit status: 0 when nothing failed (a folder or
// report that cannot be written fails too), 1 otherwise.
int runImport(const ImportOptions &options, ImportSummary &summary);
