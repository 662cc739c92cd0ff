#include "audio_conversion.h"

#include <sndfile.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "ogg_writer.h"

namespace {

const float VorbisQuality = 0.5f; // libvorbisenc's scale: 0.5 is quality 5
const int VorbisSerial = 1;       // fixed, so the same source gives the same file

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
    if (file == nullptr) {
        whyNot = std::string("cannot decode the music (") + sf_strerror(nullptr) + ")";
        return false;
    }
    if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_OGG && (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_VORBIS) {
        sf_close(file);
        return copyFile(source, target, whyNot);
    }
    std::vector<float> samples;
    std::vector<float> block(static_cast<size_t>(4096 * info.channels));
    sf_count_t read;
    while ((read = sf_readf_float(file, block.data(), 4096)) > 0)
        samples.insert(samples.end(), block.begin(), block.begin() + read * info.channels);
    const int error = sf_error(file);
    sf_close(file);
    if (error != SF_ERR_NO_ERROR || samples.empty()) {
        whyNot = samples.empty() ? "the music holds no sound" : "the music breaks off while decoding";
        return false;
    }
    PcmView view{nullptr, samples.data(), info.channels, info.samplerate,
                 samples.size() / static_cast<size_t>(info.channels)};
    if (!writeOggVorbis(target, view, VorbisQuality, VorbisSerial)) {
        whyNot = "cannot encode the music into " + target;
        return false;
    }
    return true;
}
