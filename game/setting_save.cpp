#include "game/setting_save.h"

#include <cstdio>

#include "platform/ini.h"
#include "platform/paths.h"
#include "platform/trace.h"

void saveSetting(const char *key, const std::string &value)
{
    const std::string path = settingsFilePath();
    if (!iniWriteString(path, "config", key, value)) {
        std::fprintf(stderr, "lumatide: %s: cannot be written; %s=%s holds until the game ends\n", path.c_str(), key,
                     value.c_str());
        return;
    }
    trace("config %s=%s", key, value.c_str());
}

void saveSetting(const char *key, int value) { saveSetting(key, std::to_string(value)); }
