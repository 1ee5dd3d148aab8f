// One sounding note of the synthesizer: a patch played at a key and velocity, following its
// channel's controllers, added into the mix block by block.
#pragma once

#include "GmPatch.h"

#include <vector>

namespace synth {

// What a voice reads from its channel at every control step.
struct ChannelMix {
    float Gain = 1;          // volume and expression
    float Pan = 0;           // -1 left to 1 right
    float BendSemitones = 0; // pitch bend times its range
    float VibratoCents = 0;  // modulation wheel
    float ReverbSend = 0;
    float ChorusSend = 0;
};

// The plucked string's delay line (Karplus-Strong) with a one-zero loss filter and a
// first-order all-pass for the fraction of a sample that tunes it.
class String {
  public:
    void Excite(Noise& noise, float period, float softness);
    void Tune(float period, float secondsToSilence, float hz, float brightness);
    void Run(float* out, int count);

  private:
    static constexpr int kSize = 4096;
    std::vector<float> line_ = std::vector<float>(kSize);
    uint32_t write_ = 0;
    int delay_ = 1;
    float allpass_ = 0, smooth_ = 0.5f, gain_ = 1;
    float lastIn_ = 0, apIn_ = 0, apOut_ = 0;
};

class Voice {
  public:
    explicit Voice(float rate) : rate_(rate) {}
    void Start(const Patch& patch, const ChannelMix& mix, int channel, int key, int velocity,
               uint32_t seed);
    void Release() { amp_.Release(); }
    void Kill() {
        amp_.Kill();
        killed_ = true;
    }
    // Where a voice adds its sound: the two sides, the width send and the effects' sends.
    struct Outputs {
        float *Left, *Right, *Width, *Reverb, *Chorus;
    };
    // Adds `frames` frames into `out`.
    void Render(const Outputs& out, int frames);

    bool Active() const { return active_; }
    bool Released() const { return amp_.Released(); }
    bool Killed() const { return killed_; }
    float Loudness() const { return amp_.Level() * gain_; }
    int Channel() const { return channel_; }
    int Key() const { return key_; }
    const Patch* Sound() const { return patch_; }

    bool Sustained = false; // let go while the sustain pedal was down
    uint64_t Age = 0;       // order of starting, for stealing the oldest

  private:
    void Control();
    void Generate(float* out, int count);
    void RenderTone(float* out, int count);
    void RenderFm(float* out, int count);
    void StartPartials(float vel, float decayScale);
    void ControlPartials(float hz);
    void RenderPartials(float* out, int count);
    void RenderStretched(float* out, int count);
    void FilterTone(float* io, int count);
    void AddNoise(float* io, int count);

    const float rate_;
    const Patch* patch_ = nullptr;
    const ChannelMix* mix_ = nullptr;
    int channel_ = -1, key_ = -1;
    bool active_ = false, killed_ = false;
    float gain_ = 0; // patch gain times velocity
    float hz_ = 0, bright_ = 1, stringSeconds_ = 0;
    int countdown_ = 0;
    float seconds_ = 0; // since the start, at control steps

    Envelope amp_, filterEnv_, noiseEnv_, opEnv_[4];
    float pitchOffset_ = 0, pitchCoef_ = 0;
    float lfoPhase_ = 0;

    // Linear ramps from one control step to the next: left, right, send, noise, operators.
    float left_ = 0, right_ = 0, width_ = 0, send_ = 0, chorus_ = 0;
    float dLeft_ = 0, dRight_ = 0, dWidth_ = 0, dSend_ = 0, dChorus_ = 0;
    float noise_ = 0, dNoise_ = 0;
    float opLevel_[4] = {}, dOpLevel_[4] = {};
    float opBase_[4] = {}, opRatio_[4] = {};

    uint32_t phase_[6] = {}, step_[6] = {}; // operators, or the metal cluster's squares
    float fbLast_ = 0, fbPrev_ = 0;
    float oscPhase_[2] = {}, oscStep_[2] = {};
    float cutoffBase_ = 0;
    Svf filter_, formant2_, noiseFilter_, noiseFilter2_;
    Noise noiseGen_;
    String string_;

    // The additive tone: how many partials still sound, their ratios to the note, their
    // levels now and their ramps, their fixed levels and their fall each control step.
    static constexpr int kPartials = Spectrum::kPartials;
    int partials_ = 0;
    bool harmonic_ = true; // every partial a whole multiple of the lowest
    float partialRatio_[kPartials] = {}, partialLevel_[kPartials] = {}, dPartial_[kPartials] = {};
    float partialBase_[kPartials] = {}, partialFade_[kPartials] = {}, partialFall_[kPartials] = {};
    uint32_t partialPhase_[kPartials] = {}, partialStep_[kPartials] = {};
};

} // namespace synth
