#include "game/setting_save.h"

#include <string>

#include "platform/ini.h"
#include "platform/paths.h"
#include "platform/trace.h"

void saveSetting(const char *key, int value)
{
    if (!iniWriteString(exeDirectory() + "/conf.ini", "config", key, std::to_string(value)))
        return;
    trace("config %s=%d", key, value);
}

void saveSetting(const char *key, const char *value)
{
    if (!iniWriteString(exeDirectory() + "/conf.ini", "config", key, value))
        return;
    trace("config %s=%s", key, value);
}
