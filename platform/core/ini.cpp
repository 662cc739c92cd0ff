#include "platform/ini.h"

std::string iniReadString(const std::string &, const std::string &, const std::string &, const std::string &fallback) { return fallback; }
bool iniWriteString(const std::string &, const std::string &, const std::string &, const std::string &) { return false; }
