#pragma once
#include <string>

// Saving a small file so that a crash or a full disk mid-write never leaves it half written: the
// text goes to a temporary file beside it, which is then renamed over it.

// The file to replace for path. A link is followed to its target, as editors do, so that it stays
// a link; but nothing is ever written through a link to something that is not a regular file (a
// device, a pipe): the link itself is replaced then.
std::string replaceTarget(const std::string &path);

// The whole save: replaceTarget, its ".tmp" file, then the rename. The old file stays whole when
// it fails. Returns the target it wrote, or fills reason and returns false.
bool replaceFileText(const std::string &path, const std::string &text, std::string &target, std::string &reason);
