#pragma once
#include <string>

// Directory of the running executable, without a trailing separator. Every file the game opens
// is found beside it.
std::string exeDirectory();
