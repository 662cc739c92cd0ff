#include "import_support.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

std::string ultraStarText(const std::vector<std::string> &header, const std::vector<SongNote> &notes)
{
    std::string text;
    for (const std::string &line : header)
        text += line + "\n";
    for (const SongNote &note : notes) {
        text += note.type;
        text += " " + std::to_string(note.beat) + " 2 " + std::to_string(note.pitch) + " " + note.syllable + "\n";
    }
    return text + "E\n";
}

bool writeTone(const std::string &path, int format, int sampleRate, int channels, double seconds)
{
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = format;
    if (!sf_format_check(&info))
        return false;
    SNDFILE *file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        return false;
    const sf_count_t frames = static_cast<sf_count_t>(seconds * sampleRate);
    std::vector<float> samples(static_cast<size_t>(frames * channels));
    for (sf_count_t i = 0; i < frames; i++)
        for (int c = 0; c < channels; c++)
            samples[static_cast<size_t>(i * channels + c)] =
                0.3f *
                static_cast<float>(std::sin(2 * M_PI * (440.0 + 110.0 * c) * static_cast<double>(i) / sampleRate));
    const bool written = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && written;
}

namespace {

bool writePackets(AVCodecContext *codec, AVFormatContext *format, AVStream *stream, AVPacket *packet)
{
    while (avcodec_receive_packet(codec, packet) == 0) {
        av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
        packet->stream_index = stream->index;
        if (av_interleaved_write_frame(format, packet) < 0)
            return false;
    }
    return true;
}

} // namespace

bool writeAacTone(const std::string &path, int sampleRate, int channels, double seconds)
{
    const AVCodec *aac = avcodec_find_encoder(AV_CODEC_ID_AAC);
    AVFormatContext *format = nullptr;
    if (aac == nullptr || avformat_alloc_output_context2(&format, nullptr, "ipod", path.c_str()) < 0)
        return false;
    AVCodecContext *codec = avcodec_alloc_context3(aac);
    AVStream *stream = avformat_new_stream(format, nullptr);
    AVPacket *packet = av_packet_alloc();
    AVFrame *frame = av_frame_alloc();
    codec->sample_rate = sampleRate;
    codec->sample_fmt = AV_SAMPLE_FMT_FLTP;
    codec->bit_rate = 128000;
    av_channel_layout_default(&codec->ch_layout, channels);
    codec->time_base = AVRational{1, sampleRate};
    if (format->oformat->flags & AVFMT_GLOBALHEADER)
        codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    bool written = avcodec_open2(codec, aac, nullptr) == 0 &&
                   avcodec_parameters_from_context(stream->codecpar, codec) >= 0 &&
                   avio_open(&format->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0 &&
                   avformat_write_header(format, nullptr) >= 0;
    const long frames = static_cast<long>(seconds * sampleRate);
    for (long at = 0; written && at < frames; at += codec->frame_size) {
        frame->nb_samples = static_cast<int>(std::min<long>(codec->frame_size, frames - at));
        frame->format = codec->sample_fmt;
        av_channel_layout_copy(&frame->ch_layout, &codec->ch_layout);
        written = av_frame_get_buffer(frame, 0) >= 0;
        for (int c = 0; written && c < channels; c++) {
            float *samples = reinterpret_cast<float *>(frame->extended_data[c]);
            for (int i = 0; i < frame->nb_samples; i++)
                samples[i] = 0.3f * static_cast<float>(std::sin(2 * M_PI * (440.0 + 110.0 * c) *
                                                                static_cast<double>(at + i) / sampleRate));
        }
        frame->pts = at;
        written = written && avcodec_send_frame(codec, frame) >= 0 && writePackets(codec, format, stream, packet);
        av_frame_unref(frame);
    }
    written = written && avcodec_send_frame(codec, nullptr) >= 0 && writePackets(codec, format, stream, packet) &&
              av_write_trailer(format) >= 0;
    if (format->pb != nullptr)
        avio_closep(&format->pb);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_free_context(format);
    return written;
}

std::string quoted(const std::string &text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}
