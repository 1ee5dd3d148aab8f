#include "CardPlayback.h"

#include "AudioDeviceError.h"
#include "AudioOutput.h"
#include "CardWindow.h"
#include "Compositor.h"
#include "PicturesAhead.h"
#include "PlayerTexts.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

// While the last sound plays on after the last picture, the player looks this often whether
// it has ended, and closes the device this long after, once the device's own buffer has
// played out too.
constexpr int kSoundEndPollMs = 250;
constexpr int64_t kSoundTailMs = 500;

std::unique_ptr<AudioOutput> OpenSound(const TSoundCues::TComplaint& complain) {
    auto output = std::make_unique<AudioOutput>();
    try {
        output->Open();
        return output;
    } catch (const EAudioDevice& e) {
        complain(playertext::NoSound(e.what()));
        return nullptr;
    }
}

// Waits up to `timeoutMs` (for ever when negative) for the user; false once the user ends
// the card.
bool HandleEvents(int timeoutMs, TCardWindow& window) {
    SDL_Event event;
    bool redraw = false;
    for (int got = timeoutMs < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, timeoutMs);
         got; got = SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_QUIT: // the close box, and also Ctrl+C or a request to end from the session
            return false;
        case SDL_KEYDOWN:
            if (event.key.keysym.sym == SDLK_ESCAPE) return false;
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) return false;
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                event.window.event == SDL_WINDOWEVENT_RESTORED)
                redraw = true;
            break;
        default:
            break;
        }
    }
    if (redraw) window.Redraw();
    return true;
}

static_assert(TSoundCues::kNone == TCompositor::kNoChange, "one 'never' for both");

int TimeoutUntil(int64_t wake, int64_t now) {
    return int(std::clamp<int64_t>(wake - now, 0, INT_MAX));
}

} // namespace

void PlayCard(const TCardPackage& package, const TCardTimeline& timeline, const std::string& title,
              const TSoundCues::TComplaint& complain) {
    // The first pictures decode while the window opens.
    TPicturesAhead pictures(package, timeline);
    TCompositor compositor(timeline, pictures);
    TSoundCues cues(package, timeline, complain);
    TCardWindow window(title, timeline.Width, timeline.Height);

    // The card's clock starts with its first frame on the screen.
    const Clock::time_point start = Clock::now();
    const auto now = [start] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    };
    std::unique_ptr<AudioOutput> sound;
    bool soundTried = false;
    int64_t nextChange = 0, quietSince = -1;
    for (;;) {
        const int64_t frameTime = now();
        if (frameTime >= nextChange) {
            window.Show(compositor.FrameAt(frameTime));
            nextChange = compositor.NextChange(frameTime);
            // In a transition, the next frame when the display can show it.
            if (nextChange == frameTime + 1) nextChange = frameTime + window.FramePeriodMs();
        }
        // The device opens once the first frame shows, which it would otherwise delay.
        if (!soundTried) {
            soundTried = true;
            if (!cues.Empty()) sound = OpenSound(complain);
        }
        int64_t wake = nextChange;
        if (sound) {
            while (cues.Next() <= now())
                cues.StartNext(sound->GetMixer(), sound->SampleRate());
            wake = std::min(wake, cues.Next());
            // After the last line, the last sound plays on to its end; then the device
            // closes, so that nothing runs while the card waits on its last picture.
            if (wake == TCompositor::kNoChange) {
                if (sound->GetMixer().IsPlaying())
                    quietSince = -1;
                else if (quietSince < 0)
                    quietSince = now();
                if (quietSince >= 0 && now() - quietSince >= kSoundTailMs)
                    sound.reset();
                else
                    wake = now() + kSoundEndPollMs;
            }
        }
        const int timeout = wake == TCompositor::kNoChange ? -1 : TimeoutUntil(wake, now());
        if (!HandleEvents(timeout, window)) return;
    }
}

void ShowCardError(const std::string& title, const std::string& message) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), message.c_str(), nullptr);
}
