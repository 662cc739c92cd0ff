#include "ogg_writer.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vorbis/vorbisenc.h>

namespace {

struct Encoder {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
};

bool writePages(ogg_stream_state &stream, std::FILE *file, bool flush)
{
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        if (std::fwrite(page.header, 1, page.header_len, file) != static_cast<size_t>(page.header_len) ||
            std::fwrite(page.body, 1, page.body_len, file) != static_cast<size_t>(page.body_len))
            return false;
    }
    return true;
}

bool drainBlocks(Encoder &encoder, std::FILE *file)
{
    ogg_packet packet;
    while (vorbis_analysis_blockout(&encoder.dsp, &encoder.block) == 1) {
        vorbis_analysis(&encoder.block, nullptr);
        vorbis_bitrate_addblock(&encoder.block);
        while (vorbis_bitrate_flushpacket(&encoder.dsp, &packet)) {
            ogg_stream_packetin(&encoder.stream, &packet);
            if (!writePages(encoder.stream, file, false))
                return false;
        }
    }
    return true;
}

bool encode(Encoder &encoder, const PcmView &music, std::FILE *file)
{
    ogg_packet header;
    ogg_packet comments;
    ogg_packet codebooks;
    vorbis_analysis_headerout(&encoder.dsp, &encoder.comment, &header, &comments, &codebooks);
    ogg_stream_packetin(&encoder.stream, &header);
    ogg_stream_packetin(&encoder.stream, &comments);
    ogg_stream_packetin(&encoder.stream, &codebooks);
    if (!writePages(encoder.stream, file, true))
        return false;

    const size_t chunk = 4096;
    for (size_t at = 0; at < music.frames; at += chunk) {
        const size_t count = std::min(chunk, music.frames - at);
        float **channels = vorbis_analysis_buffer(&encoder.dsp, static_cast<int>(count));
        for (int c = 0; c < music.channelCount; c++)
            for (size_t i = 0; i < count; i++)
                channels[c][i] = music.sample(c, at + i);
        vorbis_analysis_wrote(&encoder.dsp, static_cast<int>(count));
        if (!drainBlocks(encoder, file))
            return false;
    }
    vorbis_analysis_wrote(&encoder.dsp, 0);
    return drainBlocks(encoder, file) && writePages(encoder.stream, file, true);
}

} // namespace

bool writeOggVorbis(const std::string &path, const PcmView &music, float quality, int serial)
{
    auto encoder = std::make_unique<Encoder>();
    vorbis_info_init(&encoder->info);
    if (vorbis_encode_init_vbr(&encoder->info, music.channelCount, music.sampleRate, quality) != 0) {
        vorbis_info_clear(&encoder->info);
        return false;
    }
    vorbis_comment_init(&encoder->comment);
    vorbis_analysis_init(&encoder->dsp, &encoder->info);
    vorbis_block_init(&encoder->dsp, &encoder->block);
    ogg_stream_init(&encoder->stream, serial);

    std::FILE *file = std::fopen(path.c_str(), "wb");
    bool written = file && encode(*encoder, music, file);
    if (file)
        written = std::fclose(file) == 0 && written;

    ogg_stream_clear(&encoder->stream);
    vorbis_block_clear(&encoder->block);
    vorbis_dsp_clear(&encoder->dsp);
    vorbis_comment_clear(&encoder->comment);
    vorbis_info_clear(&encoder->info);
    return written;
}

bool writeOggVorbis(const std::string &path, const StereoBuffer &music, float quality, int serial)
{
    const float *channels[] = {music.left.data(), music.right.data()};
    PcmView view{channels, nullptr, 2, SampleRate, music.left.size()};
    return writeOggVorbis(path, view, quality, serial);
}
