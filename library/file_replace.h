#pragma once
#include <string>

// Saving a small file so that a crash or a full disk mid-write never leaves it half written: the
// text goes to a temporary file beside it, which is then renamed over it.

// The file to replace for path. A link is followed to its target, as editors do, so that it stays
// a link; but nothing is ever written through a link to something that is not a regular file (a
// device, a pipe): the link itself is replaced then.
std::string replaceTarget(const std::string &path);

// Writes text to temporary, flushed to the disk; false with the reason when it could not. A
// temporary file left by a crash is removed first.
bool writeTemporaryFile(const std::string &temporary, const std::string &text, std::string &reason);

// Renames temporary over target; false with the reason when it could not, the temporary removed.
bool renameOver(const std::string &temporary, const std::string &target, std::string &reason);

// The whole save: replaceTarget, its ".tmp" file, then the rename. The old file stays whole when
// it fails. Returns the target it wrote, or fills reason and returns false.
bool replaceFileText(const std::string &path, const std::string &text, std::string &target, std::string &reason);
