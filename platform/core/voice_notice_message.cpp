#include "platform/core/voice_notice_message.h"

bool takeVoiceNoticeMessage(WindowMessage &out)
{
    PcmDevice device = 0;
    uintptr_t user = 0;
    if (!pcmTakeWindowNotice(&device, &user))
        return false;
    out = WindowMessage{};
    out.kind = MessageKind::VoiceBufferDone;
    out.device = device;
    out.bufferUser = user;
    return true;
}
