#include "platform/paths.h"

std::string exeDirectory() { return "."; }
