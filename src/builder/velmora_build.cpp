// velmora-build: builds a card from a card script file without any window, exactly as the
// tool's Open and "Build Card" do, with the same intermediate files in the same working folder
// (the program directory in the build folder, a folder of the user's cache once installed).
//
//   velmora-build SCRIPT.vlm -o CARD [--progress]
//
// A script named "-" is read from standard input. The notices the tool would show in its
// boxes go to standard error; the exit status is 0 only when the card was created. A build
// that another one (of the tool or of velmora-build) is running in the same working folder
// waits for it to end, and says so.

#include "BuildServices.h"
#include "BuildTexts.h"
#include "CardBuild.h"
#include "PlatformTexts.h"
#include "ProgramFiles.h"
#include "QtPictureLoader.h"
#include "QtTextImageRenderer.h"
#include "ScriptReader.h"
#include "TempFiles.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kUsage = "usage: velmora-build SCRIPT.vlm|- -o CARD [--progress]\n";

struct Arguments {
    std::string Script;
    std::string Card;
    bool Progress = false;
};

std::optional<Arguments> Parse(int argc, char** argv) {
    Arguments a;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
            a.Card = argv[++i];
        } else if (std::strcmp(argv[i], "--progress") == 0) {
            a.Progress = true;
        } else if ((argv[i][0] != '-' || std::strcmp(argv[i], "-") == 0) && a.Script.empty()) {
            a.Script = argv[i];
        } else {
            return std::nullopt;
        }
    }
    if (a.Script.empty() || a.Card.empty()) return std::nullopt;
    return a;
}

// A label's lines (a CR starts one) on one line of the terminal.
std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c != '\r') line += c;
        else if (!line.empty()) line += ' ';
    }
    return line;
}

class ConsoleMessages final : public InformationSink {
public:
    void Information(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

class ConsoleProgress final : public BuildProgress {
public:
    explicit ConsoleProgress(bool enabled) : enabled_(enabled) {}
    void Show() override {}
    void Hide() override {}
    void Progresse(int percent) override {
        if (enabled_) std::printf("%3d%%\n", percent);
    }
    void Labl(const std::string& text) override {
        if (enabled_) std::printf("     %s\n", OneLine(text).c_str());
    }

private:
    bool enabled_;
};

// Qt wants a private runtime folder and complains on standard error when the session names
// none (as under cron or ssh); give it the one it would fall back to, made as it expects.
void ProvideRuntimeDir() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
    const std::string dir = "/tmp/runtime-" + std::to_string(::getuid());
    ::mkdir(dir.c_str(), 0700);
    struct stat info {};
    if (::stat(dir.c_str(), &info) == 0 && info.st_uid == ::getuid() && (info.st_mode & 0777) == 0700)
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir));
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Arguments> args = Parse(argc, argv);
    if (!args) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    // Text is drawn off screen: no display is needed or used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ProvideRuntimeDir();
    QGuiApplication app(argc, argv);
    const ProgramFiles programFiles =
        LocateProgramFiles(QCoreApplication::applicationDirPath().toStdString() + "/");
    const std::string& programDir = programFiles.WorkDir;

    CardScript script;
    std::vector<std::string> tempFiles;
    ConsoleMessages messages;
    ConsoleProgress progress(args->Progress);
    PosixFileSystem files;
    QtPictureLoader pictures;
    QtTextImageRenderer renderer(pictures);
    const ScriptLoadServices loading{renderer, messages, files};
    bool created = false;
    // Held from the build's first file to the clean-up after it.
    std::optional<TWorkDirLock> workDir;
    try {
        bool loaded = false;
        if (args->Script == "-") {
            TFileSource standardInput(::dup(STDIN_FILENO));
            loaded = LoadScript(standardInput, script, programDir, tempFiles, loading);
        } else {
            loaded = LoadScriptFile(args->Script, script, programDir, tempFiles, loading);
        }
        if (loaded && !LoadedAnyEvent(script)) {
            messages.Information(cardtext::NoEventFound(args->Script));
        } else if (loaded) {
            workDir.emplace(programDir, programFiles.WorkFolder, [] {
                std::fprintf(stderr, "%s\n", OneLine(buildtext::kWaitingForOtherBuild).c_str());
            });
            created = BuildCard(script, programFiles.Stub, *workDir, args->Card, tempFiles,
                                {pictures, progress, messages, files});
        }
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s\n", platformtext::kOutOfMemory);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    // As the tool does when it closes. Without the lock no build ran, so none of the listed
    // files (the names of text images) was made here.
    if (workDir) DeleteIntermediateFiles(tempFiles, *workDir);
    return created ? 0 : 1;
}
