// What the output device plays: one sound effect and one tune at once. A new sound replaces
// the sound that plays, a new tune the tune.
//
// The device pulls Render from its own thread while the program's thread starts and stops
// sources. The two meet under a mutex held only to hand a source pointer over, never while
// anything decodes, renders or is freed: the rendering thread keeps the sources it plays to
// itself, and sources it lets go are freed on the program's thread.
#pragma once

#include "AudioSource.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

enum class MixerSlot { Sound, Tune };

class Mixer final : public AudioSource {
  public:
    using PlayId = uint64_t; // names one start of a source; never 0

    Mixer();

    // Starts `source` in its slot, replacing whatever the slot plays.
    PlayId Play(MixerSlot slot, std::unique_ptr<AudioSource> source);
    // Stops that play if it is still the one in its slot; does nothing otherwise.
    void Stop(PlayId play);
    void StopAll();
    // Whether that play is still in its slot and has not reached its end.
    bool IsPlaying(PlayId play) const;
    bool IsPlaying() const; // anything at all

    // The sum of both slots, clipped to full scale; silence where nothing plays. Always
    // writes all `frames`.
    size_t Render(float* out, size_t frames) override;

  private:
    struct Channel {
        // Program thread, under mutex_: the source that is to replace `playing`, or the one
        // `playing` replaced, waiting to be freed.
        std::unique_ptr<AudioSource> handover;
        bool replace = false; // under mutex_: `handover` is to replace `playing`
        PlayId handoverId = 0;
        // Rendering thread only.
        std::unique_ptr<AudioSource> playing;
        PlayId playingId = 0;
        bool ended = false;
        // Both threads.
        std::atomic<PlayId> current{0};  // the play the slot holds now or will at once
        std::atomic<PlayId> finished{0}; // the last play that reached its end
    };

    // Hands `source` to the rendering thread as the slot's new play `id`; with `onlyIf`,
    // only while that play is the slot's current one.
    void Replace(Channel& channel, std::unique_ptr<AudioSource> source, PlayId id,
                 PlayId onlyIf = 0);
    void TakeOver(Channel& channel);
    void Mix(Channel& channel, float* out, size_t frames);

    mutable std::mutex mutex_;
    std::array<Channel, 2> channels_;
    std::atomic<PlayId> nextId_{1};
    std::vector<float> scratch_;
};
