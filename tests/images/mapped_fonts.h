#pragma once
#include <string>

// Font files mapped into a process ("self" or a process id): FreeType maps the file of every face
// it opens, once per open face.
int mappedFontFiles(const std::string &process = "self");
