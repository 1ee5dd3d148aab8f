#include "Mixer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// `frames` frames of one value on both sides; counts where it is freed.
class Constant final : public AudioSource {
  public:
    Constant(float value, size_t frames, std::atomic<int>* freedOffMain = nullptr)
        : value_(value), left_(frames), freedOffMain_(freedOffMain),
          main_(std::this_thread::get_id()) {}
    ~Constant() override {
        if (freedOffMain_ && std::this_thread::get_id() != main_) ++*freedOffMain_;
    }
    size_t Render(float* out, size_t frames) override {
        const size_t n = std::min(frames, left_);
        std::fill(out, out + 2 * n, value_);
        left_ -= n;
        return n;
    }

  private:
    float value_;
    size_t left_;
    std::atomic<int>* freedOffMain_;
    std::thread::id main_;
};

std::vector<float> Pull(Mixer& mixer, size_t frames) {
    std::vector<float> out(2 * frames, 99.0f);
    EXPECT_EQ(mixer.Render(out.data(), frames), frames);
    return out;
}

// A new sound replaces the sound, a new tune the tune; the two add up, clipped to full scale;
// a sound that ends leaves silence and stops counting as playing.
TEST(Mixer, OneSoundAndOneTuneAtOnce) {
    Mixer mixer;
    EXPECT_FALSE(mixer.IsPlaying());
    EXPECT_EQ(Pull(mixer, 3), std::vector<float>(6, 0.0f));

    const Mixer::PlayId first =
        mixer.Play(MixerSlot::Sound, std::make_unique<Constant>(0.25f, 100));
    EXPECT_TRUE(mixer.IsPlaying(first));
    EXPECT_EQ(Pull(mixer, 2), std::vector<float>(4, 0.25f));
    const Mixer::PlayId second = mixer.Play(MixerSlot::Sound, std::make_unique<Constant>(0.5f, 3));
    EXPECT_FALSE(mixer.IsPlaying(first));
    EXPECT_TRUE(mixer.IsPlaying(second));
    const Mixer::PlayId tune = mixer.Play(MixerSlot::Tune, std::make_unique<Constant>(0.75f, 100));
    EXPECT_EQ(Pull(mixer, 2), std::vector<float>(4, 1.0f)); // 0.5 + 0.75, clipped
    // The sound's last frame, then the tune alone.
    EXPECT_EQ(Pull(mixer, 2), (std::vector<float>{1.0f, 1.0f, 0.75f, 0.75f}));
    EXPECT_FALSE(mixer.IsPlaying(second));
    EXPECT_TRUE(mixer.IsPlaying(tune));

    mixer.Stop(second); // no longer there: the tune plays on
    EXPECT_TRUE(mixer.IsPlaying());
    mixer.Stop(tune);
    EXPECT_FALSE(mixer.IsPlaying());
    EXPECT_EQ(Pull(mixer, 1), std::vector<float>(2, 0.0f));

    mixer.Play(MixerSlot::Sound, std::make_unique<Constant>(-0.5f, 100));
    mixer.Play(MixerSlot::Tune, std::make_unique<Constant>(-0.75f, 100));
    mixer.StopAll();
    EXPECT_FALSE(mixer.IsPlaying());
    EXPECT_EQ(Pull(mixer, 1), std::vector<float>(2, 0.0f));
}

// The device's thread renders without pause while this thread starts and stops sources as
// fast as it can: nothing is lost or freed twice (the sanitizer build checks), and every
// source is freed here, never on the rendering thread.
TEST(Mixer, StartAndStopWhileAnotherThreadRenders) {
    Mixer mixer;
    std::atomic<bool> done{false};
    std::atomic<int> freedOffMain{0}, renders{0};
    std::thread device([&] {
        std::vector<float> out(2 * 64);
        while (!done) {
            mixer.Render(out.data(), 64);
            ++renders;
            for (float v : out)
                ASSERT_TRUE(v >= 0.0f && v <= 1.0f);
        }
    });
    for (int i = 0; i < 20000 || renders < 2000; ++i) {
        const auto slot = i % 3 ? MixerSlot::Sound : MixerSlot::Tune;
        const Mixer::PlayId id =
            mixer.Play(slot, std::make_unique<Constant>(0.5f, size_t(i % 200), &freedOffMain));
        if (i % 5 == 0) mixer.Stop(id);
        if (i % 97 == 0) mixer.StopAll();
    }
    done = true;
    device.join();
    mixer.StopAll();
    EXPECT_EQ(freedOffMain, 0);
}

} // namespace
