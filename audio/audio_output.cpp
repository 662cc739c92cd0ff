#include "audio/audio_output.h"

#include "platform/pcm.h"
#include "platform/trace.h"
#include "platform/window.h"

namespace {
void reportNoAudioOutput()
{
    static bool shown = false;
    if (shown)
        return;
    shown = true;
    showMessageBox("WAVEデバイスのオープンに失敗しました");
}
} // namespace

void startAudioOutput()
{
    const bool opened = pcmStartOutput();
    trace("audio %s %d %d", pcmDriverName(), pcmOutputRate(), pcmOutputBufferFrames());
    if (!opened)
        reportNoAudioOutput();
}

void stopAudioOutput()
{
    trace("audio underruns %llu", static_cast<unsigned long long>(pcmUnderruns()));
    pcmStopOutput();
}
