#include "recorded_subsystems.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "app/app_context.h"
#include "audio/audio_output.h"
#include "audio/voice_thread.h"
#include "game/menus.h"
#include "game/play_update.h"
#include "gfx/image_texture.h"
#include "gfx/render_frame.h"
#include "gfx/title_textures.h"
#include "library/ranking.h"
#include "library/song_list.h"

namespace {
std::mutex stepsMutex; // the voice thread writes its step too
std::vector<std::string> steps;
std::function<void()> menusHook;

void step(const std::string &name)
{
    std::lock_guard<std::mutex> lock(stepsMutex);
    steps.push_back(name);
}
} // namespace

void clearSteps()
{
    std::lock_guard<std::mutex> lock(stepsMutex);
    steps.clear();
    menusHook = nullptr;
}

std::vector<std::string> takenSteps()
{
    std::lock_guard<std::mutex> lock(stepsMutex);
    return steps;
}

void onUpdateMenus(std::function<void()> hook) { menusHook = std::move(hook); }

// What the menus see of the two values the main loop sets before it calls them.
void updateMenus()
{
    char line[96];
    std::snprintf(line, sizeof line, "updateMenus autoplay %d shown %g", menu.autoplay, play.displayedScore);
    step(line);
    if (menusHook)
        menusHook();
}

void updatePlay() { step("updatePlay"); }
// The size it draws at.
void renderFrame()
{
    step("renderFrame " + std::to_string(window.clientWidth.load()) + "x" + std::to_string(window.clientHeight.load()));
}

int loadImageTexture(const char *fileName, unsigned *textureOut)
{
    step(std::string("loadImageTexture ") + fileName);
    *textureOut = 7;
    return 0;
}

void voiceThread()
{
    while (shell.voiceThreadRunning.load(std::memory_order_relaxed) == 1)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    step("voiceThread ends");
}

void openVoices() { step("openVoices"); }
void closeVoices() { step("closeVoices"); }
void onVoiceBufferDone(PcmDevice, uintptr_t) { step("onVoiceBufferDone"); }
void startAudioOutput() { step("startAudioOutput"); }
void stopAudioOutput() { step("stopAudioOutput"); }

void loadSongList()
{
    step("loadSongList");
    catalogue.songs.resize(2);
    catalogue.titleTextures.resize(2);
    catalogue.songCount = 2;
}

void createTitleTexture(TitleTexture &) { step("createTitleTexture"); }
void releaseTitleTexture(TitleTexture &) { step("releaseTitleTexture"); }
void loadRanking() { step("loadRanking"); }
void saveRanking() { step("saveRanking"); }
void MusicStream::close() { step("MusicStream::close"); }

// The records whose files also hold recorded operations.
MusicStream music;
int ranking[RankCount];
