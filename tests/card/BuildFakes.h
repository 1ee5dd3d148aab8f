// Stand-ins for the build's toolkit services: pictures made in memory, a progress window and
// an information box that record what they were asked to show. Shared by the build's tests.
#pragma once

#include "BuildServices.h"
#include "FakePictures.h"
#include "CardBuild.h"
#include "CardPackageFormat.h"
#include "PictureServices.h"
#include "TinyMedia.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class RecordingProgress final : public BuildProgress {
public:
    std::vector<int> Values;
    std::vector<std::string> Labels;
    bool Visible = false;
    int Shows = 0;

    void Show() override {
        Visible = true;
        ++Shows;
    }
    void Hide() override { Visible = false; }
    void Progresse(int percent) override { Values.push_back(percent); }
    void Labl(const std::string& text) override { Labels.push_back(text); }
};

class RecordingMessages final : public InformationSink {
public:
    std::vector<std::string> Shown;
    void Information(const std::string& text) override { Shown.push_back(text); }
};

// A program directory with a player stub, in a fresh temporary folder.
struct BuildBench {
    std::filesystem::path Root;
    std::string ProgramDir; // ends with "/"
    std::string Stub() const { return ProgramDir + cardpackage::kStubName; }
    FakePictures Pictures;
    RecordingProgress Progress;
    RecordingMessages Messages;
    PosixFileSystem Files;
    std::vector<std::string> TempFiles;
    std::optional<TWorkDirLock> WorkDir; // the program directory's, held from the start

    BuildBench();
    ~BuildBench();

    BuildServicesSet Services() { return {Pictures, Progress, Messages, Files}; }
    // Writes a file under Root and returns its path.
    std::string WriteFile(const std::string& name, const std::string& bytes) const;
    // A picture file of `width` x `height` in two colours, registered with the fake loader.
    std::string AddPicture(const std::string& name, int width, int height);
    std::string Output() const { return (Root / "out" / "card.exe").string(); }
    bool Build(const CardScript& script, const std::string& output) {
        return BuildCard(script, Stub(), *WorkDir, output, TempFiles, Services());
    }
    bool Build(const CardScript& script) { return Build(script, Output()); }
};

std::string ReadText(const std::string& path);
