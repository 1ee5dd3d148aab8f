#include "Mixer.h"

#include <algorithm>

namespace {
constexpr size_t kMixFrames = 1024;
}

Mixer::Mixer() : scratch_(2 * kMixFrames) {}

Mixer::PlayId Mixer::Play(MixerSlot slot, std::unique_ptr<AudioSource> source) {
    const PlayId id = nextId_++;
    Replace(channels_[size_t(slot)], std::move(source), id);
    return id;
}

void Mixer::Stop(PlayId play) {
    for (Channel& channel : channels_)
        if (play != 0 && channel.current == play) Replace(channel, nullptr, 0, play);
}

void Mixer::StopAll() {
    for (Channel& channel : channels_)
        Replace(channel, nullptr, 0);
}

bool Mixer::IsPlaying(PlayId play) const {
    return std::any_of(channels_.begin(), channels_.end(), [play](const Channel& channel) {
        return play != 0 && channel.current == play && channel.finished != play;
    });
}

bool Mixer::IsPlaying() const {
    return std::any_of(channels_.begin(), channels_.end(), [](const Channel& channel) {
        const PlayId current = channel.current;
        return current != 0 && channel.finished != current;
    });
}

void Mixer::Replace(Channel& channel, std::unique_ptr<AudioSource> source, PlayId id,
                    PlayId onlyIf) {
    std::unique_ptr<AudioSource> old;
    {
        std::lock_guard lock(mutex_);
        if (onlyIf != 0 && channel.current != onlyIf) return;
        old = std::move(channel.handover);
        channel.handover = std::move(source);
        channel.handoverId = id;
        channel.replace = true;
        channel.current = id;
    }
    // `old` is a source that never started, or the one the rendering thread let go: freed
    // here, outside the lock.
}

void Mixer::TakeOver(Channel& channel) {
    if (channel.current == channel.playingId) return; // nothing handed over: no lock taken
    std::lock_guard lock(mutex_);
    if (!channel.replace) return;
    std::swap(channel.playing, channel.handover);
    channel.playingId = channel.handoverId;
    channel.replace = false;
    channel.ended = false;
}

void Mixer::Mix(Channel& channel, float* out, size_t frames) {
    for (size_t done = 0; done < frames && channel.playing && !channel.ended;) {
        const size_t want = std::min(frames - done, kMixFrames);
        const size_t got = channel.playing->Render(scratch_.data(), want);
        for (size_t i = 0; i < 2 * got; ++i)
            out[2 * done + i] += scratch_[i];
        done += got;
        if (got < want) {
            channel.ended = true;
            channel.finished = channel.playingId;
        }
    }
}

size_t Mixer::Render(float* out, size_t frames) {
    std::fill(out, out + 2 * frames, 0.0f);
    for (Channel& channel : channels_) {
        TakeOver(channel);
        Mix(channel, out, frames);
    }
    for (size_t i = 0; i < 2 * frames; ++i)
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
    return frames;
}
