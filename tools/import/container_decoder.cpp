#include "container_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
}

namespace {

struct Decoding {
    AVFormatContext *format = nullptr;
    AVCodecContext *codec = nullptr;
    AVPacket *packet = nullptr;
    AVFrame *frame = nullptr;

    ~Decoding()
    {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }
};

float sampleAt(const AVFrame &frame, int channel, int index)
{
    const int channels = frame.ch_layout.nb_channels;
    switch (frame.format) {
    case AV_SAMPLE_FMT_FLT:
        return reinterpret_cast<const float *>(frame.data[0])[index * channels + channel];
    case AV_SAMPLE_FMT_FLTP:
        return reinterpret_cast<const float *>(frame.extended_data[channel])[index];
    case AV_SAMPLE_FMT_DBL:
        return static_cast<float>(reinterpret_cast<const double *>(frame.data[0])[index * channels + channel]);
    case AV_SAMPLE_FMT_DBLP:
        return static_cast<float>(reinterpret_cast<const double *>(frame.extended_data[channel])[index]);
    case AV_SAMPLE_FMT_S16:
        return reinterpret_cast<const int16_t *>(frame.data[0])[index * channels + channel] / 32768.0f;
    case AV_SAMPLE_FMT_S16P:
        return reinterpret_cast<const int16_t *>(frame.extended_data[channel])[index] / 32768.0f;
    case AV_SAMPLE_FMT_S32:
        return static_cast<float>(reinterpret_cast<const int32_t *>(frame.data[0])[index * channels + channel] /
                                  2147483648.0);
    case AV_SAMPLE_FMT_S32P:
        return static_cast<float>(reinterpret_cast<const int32_t *>(frame.extended_data[channel])[index] /
                                  2147483648.0);
    default:
        return 0.0f;
    }
}

bool isReadableFormat(int format)
{
    for (int readable : {AV_SAMPLE_FMT_FLT, AV_SAMPLE_FMT_FLTP, AV_SAMPLE_FMT_DBL, AV_SAMPLE_FMT_DBLP,
                         AV_SAMPLE_FMT_S16, AV_SAMPLE_FMT_S16P, AV_SAMPLE_FMT_S32, AV_SAMPLE_FMT_S32P})
        if (format == readable)
            return true;
    return false;
}

// Takes every frame the decoder has ready; false when one is in a sample format not read here.
bool drainFrames(Decoding &decoding, DecodedMusic &music)
{
    while (avcodec_receive_frame(decoding.codec, decoding.frame) == 0) {
        const AVFrame &frame = *decoding.frame;
        if (!isReadableFormat(frame.format) || frame.ch_layout.nb_channels != music.channelCount)
            return false;
        for (int i = 0; i < frame.nb_samples; i++)
            for (int c = 0; c < music.channelCount; c++)
                music.interleaved.push_back(sampleAt(frame, c, i));
    }
    return true;
}

std::string errorText(int error)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return text;
}

} // namespace

bool decodeWithLibav(const std::string &path, DecodedMusic &music, std::string &whyNot)
{
    // FFmpeg's own lines would break the import's one-line progress; the reason comes back here.
    av_log_set_level(AV_LOG_QUIET);
    Decoding decoding;
    int error = avformat_open_input(&decoding.format, path.c_str(), nullptr, nullptr);
    if (error < 0 || (error = avformat_find_stream_info(decoding.format, nullptr)) < 0) {
        whyNot = errorText(error);
        return false;
    }
    const AVCodec *codec = nullptr;
    const int stream = av_find_best_stream(decoding.format, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (stream < 0 || codec == nullptr) {
        whyNot = "no audio stream";
        return false;
    }
    decoding.codec = avcodec_alloc_context3(codec);
    decoding.packet = av_packet_alloc();
    decoding.frame = av_frame_alloc();
    if (decoding.codec == nullptr || decoding.packet == nullptr || decoding.frame == nullptr ||
        avcodec_parameters_to_context(decoding.codec, decoding.format->streams[stream]->codecpar) < 0 ||
        (error = avcodec_open2(decoding.codec, codec, nullptr)) < 0) {
        whyNot = error < 0 ? errorText(error) : "cannot set up the decoder";
        return false;
    }
    music.sampleRate = decoding.codec->sample_rate;
    music.channelCount = decoding.codec->ch_layout.nb_channels;
    music.interleaved.clear();
    while (av_read_frame(decoding.format, decoding.packet) >= 0) {
        const bool ours = decoding.packet->stream_index == stream;
        const int sent = ours ? avcodec_send_packet(decoding.codec, decoding.packet) : 0;
        av_packet_unref(decoding.packet);
        if (sent < 0 && sent != AVERROR(EAGAIN)) {
            whyNot = "the music breaks off while decoding (" + errorText(sent) + ")";
            return false;
        }
        if (ours && !drainFrames(decoding, music)) {
            whyNot = "a sample format this import does not read";
            return false;
        }
    }
    avcodec_send_packet(decoding.codec, nullptr);
    if (!drainFrames(decoding, music)) {
        whyNot = "a sample format this import does not read";
        return false;
    }
    if (music.interleaved.empty() || music.sampleRate <= 0 || music.channelCount <= 0) {
        whyNot = "the music holds no sound";
        return false;
    }
    return true;
}
