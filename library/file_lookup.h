#pragma once
#include <string>

// Finds a file named as a Windows song folder names it: a backslash separates folders, a name
// that does not exist as written is matched case-insensitively in its folder, and a name that is
// not valid UTF-8 is also tried as CP932. Returns the existing path, or folder + "/" + name as
// written when nothing matches.
std::string findDataFile(const std::string &folder, const std::string &name);

// folder and name with one slash between them; name alone when folder is empty.
std::string joinPath(const std::string &folder, const std::string &name);

// The bundled data folder: the song list, its charts and their music. Read only once installed.
std::string dataDirectory();

struct SongEntry;
// The folder an entry's chart and music are named relative to: that of the list naming it.
std::string songFolder(const SongEntry &entry);

bool isValidUtf8(const std::string &text);

// What stands at a path: nothing, a regular file, or something else (a folder, a device).
enum class PathKind { Missing, File, Other };
PathKind pathKind(const std::string &path);
