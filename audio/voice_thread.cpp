#include "audio/voice_thread.h"

#include <algorithm>
#include <new>

#include "audio/music_stream.h"
#include "audio/pcm_device_release.h"
#include "audio/synthesizer.h"
#include "audio/tone_voice.h"
#include "audio/voice_wake.h"
#include "rules/menu_state.h"
#include "rules/play_state.h"
#include "rules/player_pitch.h"
#include "rules/shell_state.h"
#include "rules/voice_mode_state.h"
#include "rules/wave_type.h"
#include "rules/window_state.h"

namespace {
constexpr std::memory_order Relaxed = std::memory_order_relaxed;

// Both counts divide by the setting. The configuration keeps it in range; a value set by hand
// below 1 ms (tests do set it directly) plays as 1 ms instead of dividing by zero.
int usableBufferLengthMs(int bufferLengthMs) { return std::max(bufferLengthMs, 1); }

int ringStep(int slot, int step) { return (slot + step + RingSlots) % RingSlots; }

bool shouldFeed(const ToneVoice &voice, uint16_t queueTarget)
{
    const int outstanding = ringStep(voice.ringWrite.load(Relaxed), -voice.ringDone.load(std::memory_order_acquire));
    return outstanding < queueTarget && play.keyHeldFrames.load(Relaxed) >= 1 && menu.state.load(Relaxed) == Play &&
           music.streamState.load(Relaxed) < Finished && voiceMode.toneMuted.load(Relaxed) == 0;
}

void feedVoice(int voiceIndex)
{
    ToneVoice &voice = voices[voiceIndex];
    const int ringDone = voice.ringDone.load(std::memory_order_acquire);
    int ringWrite = voice.ringWrite.load(Relaxed);
    const bool runDry = ringWrite == ringDone || ringWrite == ringStep(ringDone, 1);
    const int count = runDry ? voiceBurstCount(shell.bufferLengthMs) : 1;
    const double pitch = voicePitch(voiceIndex);

    double savedPhase = voice.phase.load(Relaxed);
    int synthesized = 0;
    // A slot the device still holds (a reset of the ring counters while the tone was still
    // queued, or a lost notice) is left alone rather than overwritten while it plays.
    while (synthesized < count && voice.buffers[ringWrite].queued.load(std::memory_order_acquire) == 0) {
        savedPhase = voice.phase.load(Relaxed);
        synthesizeBuffer(ringWrite, voiceIndex, pitch);
        ringWrite = ringStep(ringWrite, 1);
        synthesized++;
    }
    ringWrite = ringStep(ringWrite, -synthesized);
    for (int i = 0; i < synthesized; i++) {
        if (pcmWrite(voice.device, &voice.buffers[ringWrite]) != PcmOk) {
            voice.phase.store(savedPhase, Relaxed);
            break;
        }
        ringWrite = ringStep(ringWrite, 1);
    }
    voice.ringWrite.store(ringWrite, Relaxed);
}
} // namespace

uint32_t voiceSlotBytes(int bufferLengthMs) { return uint32_t(usableBufferLengthMs(bufferLengthMs) / 1000.0 * 88200); }

// ringWrite may run at most 14 slots ahead of ringDone: at 15 it comes round to ringDone, the
// ring looks empty and the next burst overwrites buffers that are still playing. A single write
// happens only while fewer than queueTarget are outstanding, so queueTarget stays at 14 or below;
// a burst may start one slot past ringDone, so burstCount stays at 13 or below.
uint16_t voiceQueueTarget(int bufferLengthMs)
{
    return uint16_t(std::clamp(120 / usableBufferLengthMs(bufferLengthMs) + 1, 3, 14));
}

int voiceBurstCount(int bufferLengthMs) { return std::clamp(100 / usableBufferLengthMs(bufferLengthMs), 3, 13); }

double voicePitch(int voiceIndex)
{
    // The pitch the play update judges, computed afresh on this thread.
    const double base = playerPitchAt(window.pointerX.load(Relaxed), window.clientWidth.load(Relaxed),
                                      window.fieldMargin.load(Relaxed), play.octave.load(Relaxed));
    const int sign = voiceIndex % 2 == 0 ? -1 : 1;
    const double detune = sign * ((voiceIndex + 1) / 2) * 2 / 40.0;
    double octaveOffset = 0.0;
    if (menu.waveType.load(Relaxed) == WaveSine && voiceIndex != 0)
        octaveOffset = voiceIndex % 2 == 1 ? 12.0 : -12.0;
    return playablePitch(base + detune + octaveOffset);
}

void feedVoices(uint16_t queueTarget)
{
    for (int i = 0; i < VoiceCount && i < 2 * menu.unison.load(Relaxed) + 1; i++) {
        ToneVoice &voice = voices[i];
        if (voice.opened.load(std::memory_order_acquire) == 0)
            continue;
        if (voice.resetRequested.load(std::memory_order_acquire) == 1) {
            pcmReset(voice.device);
            voice.phase.store(0.0, Relaxed);
            voice.resetRequested.store(0, Relaxed);
        }
        if (shouldFeed(voice, queueTarget))
            feedVoice(i);
    }
}

void voiceThread()
{
    const uint16_t queueTarget = voiceQueueTarget(shell.bufferLengthMs);
    // A pass when there is work, never on a clock: a voice that sounds has a slot to fill each
    // time one of its buffers comes back, and a silent one has nothing to do until a press.
    while (shell.voiceThreadRunning.load(std::memory_order_acquire) == 1) {
        feedVoices(queueTarget);
        waitForVoiceWork();
    }
}

void openVoices()
{
    const uint32_t slotBytes = voiceSlotBytes(shell.bufferLengthMs);
    for (ToneVoice &voice : voices) {
        voice.format = PcmFormat{1, 44100};
        pcmOpen(&voice.device, voice.format, nullptr, nullptr);
        for (int k = 0; k < RingSlots; k++) {
            PcmBuffer &buffer = voice.buffers[k];
            buffer.data = new (std::nothrow) uint8_t[slotBytes]();
            buffer.length = buffer.data != nullptr ? slotBytes : 0;
            buffer.user = uintptr_t(k);
        }
        voice.opened.store(1, std::memory_order_release);
    }
}

void closeVoices()
{
    for (ToneVoice &voice : voices) {
        voice.opened.store(0, Relaxed);
        closeDeviceAndFreeBuffers(voice.device, voice.buffers);
    }
}

void onVoiceBufferDone(PcmDevice device, uintptr_t user)
{
    if (device == 0 || user >= uintptr_t(RingSlots))
        return;
    for (ToneVoice &voice : voices) {
        if (voice.device == device) {
            voice.ringDone.store(int(user), std::memory_order_release);
            wakeVoiceThread();
            return;
        }
    }
}

void requestVoiceReset()
{
    for (ToneVoice &voice : voices)
        voice.resetRequested.store(1, std::memory_order_release);
    wakeVoiceThread();
}
