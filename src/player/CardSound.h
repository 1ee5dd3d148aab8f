// The card's sound and tune lines on the engine's mixer: started at their moments on the
// card's clock, live through the output device or offline into a WAV file. Both start the
// same sources at the same sample, so the file is what the card plays.
#pragma once

#include "CardPackage.h"
#include "CardTimeline.h"
#include "Mixer.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TSoundCues {
public:
    // What the card says about a sound or tune it cannot play: the card goes on without it.
    using TComplaint = std::function<void(const std::string& message)>;

    TSoundCues(const TCardPackage& package, const TCardTimeline& timeline, TComplaint complain);

    bool Empty() const { return cues_.empty(); }
    // When the next line not yet started is due; kNone when every line has started.
    int64_t Next() const { return next_ < cues_.size() ? cues_[next_]->Start : kNone; }
    // Starts that line on `mixer`, at `sampleRate`.
    void StartNext(Mixer& mixer, int sampleRate);

    static constexpr int64_t kNone = INT64_MAX;

private:
    const TCardPackage& package_;
    std::vector<const TTimelineStep*> cues_;
    size_t next_ = 0;
    TComplaint complain_;
};

// The card's sound track at `sampleRate`: the sound and the tune lines mixed on the engine's
// mixer from their moments, as long as the card lasts or, when a sound or the tune goes on
// longer, until its last sample that sounds. Written to `path` as a 16-bit stereo WAV file;
// ECardOutputError when it cannot be.
inline constexpr int kSoundTrackRate = 44100; // as velmora-audio renders
void WriteSoundTrack(const TCardPackage& package, const TCardTimeline& timeline,
                     const std::string& path, int sampleRate,
                     const TSoundCues::TComplaint& complain);
