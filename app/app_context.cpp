#include "app/app_context.h"

#include <algorithm>
#include <new>

#include "app/window_procedure.h"
#include "game/setting_keys.h"
#include "platform/message_pump.h"
#include "rules/calibration_state.h"

namespace {

template <class Record>
void renew(Record &record)
{
    record.~Record();
    new (&record) Record();
}

} // namespace

void connectSubsystems()
{
    setMessageHandler(windowProcedure);
    gfx.musicState = &music.streamState;
}

void resetAppContext()
{
    renew(shell);
    renew(window);
    renew(menu);
    renew(play);
    renew(credit);
    renew(help);
    renew(calibration);
    renew(settings);
    renew(songPause);
    renew(settingKeys);
    renew(catalogue);
    renew(bests);
    renew(chart);
    renew(music);
    for (ToneVoice &voice : voices)
        renew(voice);
    renew(gfx);
    renew(synth);
    std::copy(LoadTimeRanking, LoadTimeRanking + RankCount, ranking);
    connectSubsystems();
}
