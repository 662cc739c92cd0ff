#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

// Opening the files the game reads without ever waiting on them. A named pipe with no writer
// would hold open() forever, and a device such as /dev/zero or a sparse file of gigabytes would
// exhaust memory when read whole, so anything that is not a regular file, and any file larger
// than its reader's limit, is refused with a reason fit for a stderr line.
enum class FileStatus { Opened, Missing, Refused };

struct RegularFile {
    FileStatus status = FileStatus::Missing;
    int fd = -1;        // blocking, close-on-exec; -1 unless Opened
    uint64_t size = 0;  // bytes at open
    std::string reason; // why it is missing or refused, e.g. "not a regular file (a named pipe)"
};

// Missing means nothing stands at the path (or a folder on the way is missing); a name that is
// there but cannot be opened, is not a regular file or is over maxBytes is Refused.
RegularFile openRegularFile(const std::string &path, uint64_t maxBytes);
void closeRegularFile(RegularFile &file);

// The file as a stdio stream for a decoder, closed with fclose; null, with the reason, when it is
// missing or refused or the stream cannot be made.
FILE *openRegularStream(const std::string &path, uint64_t maxBytes, std::string &reason);

// The whole file into bytes (cleared unless Opened). A file that grows past maxBytes while it is
// read is refused as well.
FileStatus readRegularFile(const std::string &path, uint64_t maxBytes, std::string &bytes, std::string &reason);
