#pragma once
#include <string>

// Directory of the running executable, without a trailing separator.
std::string exeDirectory();

// Where the game's files live; every reader and writer asks here. Three layouts:
// - LUMATIDE_HOME=DIR: everything in DIR, laid out as beside the executable (portable; tests pin
//   a folder with it).
// - Installed, when <exe>/../share/lumatide exists: the bundled songs and images from there; the
//   settings in $XDG_CONFIG_HOME/lumatide, the ranking and the player's own songs in
//   $XDG_DATA_HOME/lumatide.
// - Otherwise beside the executable, when that folder can be written to; a copy that cannot write
//   there keeps its settings and scores in the XDG folders instead.
struct FileLocations {
    std::string content;        // holds the bundled data/ and img/; read only
    std::string settings;       // holds conf.ini
    std::string savedData;      // score.hsc, best.txt
    std::string userSongs;      // the player's own songs/songlist.txt and charts
    bool inUserFolders = false; // the writable folders are the player's own, made on first start
};

// The environment a layout is chosen from, so that each layout can be tried without installing.
struct LocationInputs {
    std::string exeDirectory;
    std::string lumatideHome;  // LUMATIDE_HOME, empty when unset
    std::string xdgConfigHome; // XDG_CONFIG_HOME, empty when unset
    std::string xdgDataHome;   // XDG_DATA_HOME, empty when unset
    std::string home;          // HOME
};

FileLocations locateFiles(const LocationInputs &inputs);

// The locations of this run, chosen once from the real environment.
const FileLocations &fileLocations();

// Short names for the callers.
std::string contentDirectory();
std::string settingsFilePath(); // conf.ini in the settings folder
std::string savedDataDirectory();
std::string userSongsDirectory();

// Creates the player's own folders when the layout uses them (the settings and saved-data folders,
// with their parents); a layout beside the executable is left as it is. false with reason
// ("<folder>: <why>") when a folder cannot be made.
bool makeUserFolders(const FileLocations &locations, std::string &reason);
