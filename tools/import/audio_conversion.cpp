#include "audio_conversion.h"

#include <sndfile.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "container_decoder.h"
#include "ogg_writer.h"

namespace {

bool copyFile(const std::string &source, const std::string &target, std::string &whyNot)
{
    std::ifstream in(source, std::ios::binary);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!in || !out) {
        whyNot = !in ? "cannot open the music" : "cannot write " + target;
        return false;
    }
    out << in.rdbuf();
    out.close();
    if (!out) {
        whyNot = "cannot write " + target;
        return false;
    }
    return true;
}

} // namespace

bool convertMusic(const std::string &source, const std::string &target, std::string &whyNot)
{
    SF_INFO info{};
    SNDFILE *file = sf_open(source.c_str(), SFM_READ, &info);
    DecodedMusic music;
    if (file == nullptr) {
        // libsndfile reads neither MP4 containers nor AAC: FFmpeg's libraries do.
        // libsndfile's own reason for a file it does not know says the file may not exist.
        std::string libavReason;
        if (!decodeWithLibav(source, music, libavReason)) {
            std::error_code error;
            whyNot = std::filesystem::is_regular_file(source, error)
                         ? "not music libsndfile or FFmpeg can decode (" + libavReason + ")"
                         : "no such music file";
            return false;
        }
    } else {
        if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_OGG &&
            (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_VORBIS) {
            sf_close(file);
            return copyFile(source, target, whyNot);
        }
        music.sampleRate = info.samplerate;
        music.channelCount = info.channels;
        std::vector<float> block(static_cast<size_t>(4096 * info.channels));
        sf_count_t read;
        while ((read = sf_readf_float(file, block.data(), 4096)) > 0)
            music.interleaved.insert(music.interleaved.end(), block.begin(), block.begin() + read * info.channels);
        const int error = sf_error(file);
        sf_close(file);
        if (error != SF_ERR_NO_ERROR || music.interleaved.empty()) {
            whyNot = music.interleaved.empty() ? "the music holds no sound" : "the music breaks off while decoding";
            return false;
        }
    }
    PcmView view{nullptr, music.interleaved.data(), music.channelCount, music.sampleRate,
                 music.interleaved.size() / static_cast<size_t>(music.channelCount)};
    if (!writeOggVorbis(target, view, VorbisQuality, VorbisSerial)) {
        whyNot = "cannot encode the music into " + target;
        return false;
    }
    return true;
}
