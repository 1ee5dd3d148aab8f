// A stand-in for the toolkit's picture services: pictures made in memory, by path.
#pragma once

#include "PictureServices.h"

#include <map>
#include <string>
#include <vector>

// Pictures by path; the files must exist on disk too, since the build tests for them there.
class FakePictures final : public PictureLoader {
public:
    std::map<std::string, TPicture> ByPath;
    std::vector<std::string> Reduced; // paths whose pictures went through ReduceTo8Bits, in order

    TPicture Load(const std::string& path) override {
        last_ = path;
        return ByPath.at(path);
    }
    // Marks every pixel so a test can tell a reduced picture from a loaded one.
    TPicture ReduceTo8Bits(const TPicture& picture) override {
        Reduced.push_back(last_);
        TPicture reduced = picture;
        for (auto& p : reduced.Pixels) p |= 0x000001;
        return reduced;
    }

private:
    std::string last_;
};

