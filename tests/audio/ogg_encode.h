#pragma once
// Writes real Ogg Vorbis files for the audio tests and benchmarks, with libvorbisenc.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Interleaved 16-bit samples; `frames` = samples.size() / channels. False when the file cannot
// be written.
inline bool encodeOgg(const std::string &path, int channels, int rate, const std::vector<int16_t> &samples)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    vorbis_info info;
    vorbis_info_init(&info);
    vorbis_encode_init_vbr(&info, channels, rate, 0.3f);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    ogg_page page;
    auto writePage = [&] {
        std::fwrite(page.header, 1, size_t(page.header_len), file);
        std::fwrite(page.body, 1, size_t(page.body_len), file);
    };
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    while (ogg_stream_flush(&stream, &page) != 0)
        writePage();

    const size_t frames = samples.size() / size_t(channels);
    size_t done = 0;
    bool ended = false;
    while (!ended) {
        const size_t chunk = std::min<size_t>(1024, frames - done);
        if (chunk == 0) {
            vorbis_analysis_wrote(&dsp, 0);
        } else {
            float **buffer = vorbis_analysis_buffer(&dsp, int(chunk));
            for (size_t i = 0; i < chunk; i++)
                for (int c = 0; c < channels; c++)
                    buffer[c][i] = samples[(done + i) * channels + c] / 32768.0f;
            vorbis_analysis_wrote(&dsp, int(chunk));
            done += chunk;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    writePage();
                    if (ogg_page_eos(&page))
                        ended = true;
                }
            }
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return std::fclose(file) == 0;
}

// A sine at `hz` and half of full scale on every channel.
inline std::vector<int16_t> sineSamples(int channels, int rate, size_t frames, double hz)
{
    std::vector<int16_t> samples(frames * size_t(channels));
    for (size_t i = 0; i < frames; i++)
        for (int c = 0; c < channels; c++)
            samples[i * channels + c] = int16_t(16000 * std::sin(2 * 3.141592653589793 * hz * double(i) / rate));
    return samples;
}

// Deterministic noise at a quarter of full scale: it compresses badly, so the file has many pages.
inline std::vector<int16_t> noiseSamples(int channels, size_t frames)
{
    std::vector<int16_t> samples(frames * size_t(channels));
    uint32_t state = 1;
    for (int16_t &sample : samples) {
        state = state * 1664525u + 1013904223u;
        sample = int16_t(int((state >> 16) & 0x3fff) - 8192);
    }
    return samples;
}
