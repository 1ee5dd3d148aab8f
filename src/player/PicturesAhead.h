// The card's pictures decoded ahead of their lines on a thread of their own, so that a
// transition's first frame does not wait for its picture (a 1920x1080 GIF takes several
// milliseconds). Only the next few pictures are held: memory follows what the card shows.
#pragma once

#include "CardFrames.h"

#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

class TPicturesAhead final : public TPictureSource {
public:
    // Starts decoding the first pictures that `timeline` shows at once.
    TPicturesAhead(const TCardPackage& package, const TCardTimeline& timeline);
    ~TPicturesAhead() override;
    TPicturesAhead(const TPicturesAhead&) = delete;
    TPicturesAhead& operator=(const TPicturesAhead&) = delete;

    // The picture of a line, decoded ahead when it was among the next ones; a picture asked
    // for out of turn is decoded at once. Throws as TPackedPictures does.
    std::shared_ptr<const TRgbImage> Picture(const std::string& name) override;

private:
    struct Decoded {
        std::shared_ptr<const TRgbImage> Picture;
        std::exception_ptr Error;
    };
    void Work();

    TPackedPictures pictures_;
    std::vector<std::string> order_; // the pictures' names in the order the lines show them
    std::mutex mutex_;
    std::condition_variable changed_;
    size_t next_ = 0;       // the next picture in order_ to decode ahead
    size_t asked_ = 0;      // one past the last picture the compositor asked for
    bool decoding_ = false; // order_[next_ - 1] is being decoded
    bool stop_ = false;
    std::map<std::string, Decoded> ready_;
    std::thread worker_;
};
