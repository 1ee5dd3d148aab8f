// The card player on a display (run it under xvfb-run, see README.md):
//  - from exec to the first frame of a 1920x1080 card on the screen, the frame being the card's
//    background shown at once, so decoding its GIF counts too; the screen is sampled through
//    Xlib until the window shows the picture's pixels;
//  - the processor time the card uses, as a share of one core, while a transition plays and
//    once it waits on its last picture after its tune has ended.
//
//   bench_player [runs]
#include "BenchPictures.h"
#include "BenchTiming.h"
#include "CardPackageText.h"
#include "MidiBuilder.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

std::string Gif(const BenchPicture& picture) {
    TGifFile gif;
    gif.AddImage(picture.colors, picture.indices);
    const std::vector<uint8_t> bytes = gif.SaveToMemory();
    return {bytes.begin(), bytes.end()};
}

// A card file: this build's player with the package after it.
fs::path MakeCard(const std::string& name, const std::string& package) {
    const fs::path card = fs::path(bench::ScratchDir()) / name;
    fs::copy_file(VELMORA_MODEL_EXE, card, fs::copy_options::overwrite_existing);
    std::ofstream(card, std::ios::binary | std::ios::app) << package;
    fs::permissions(card, fs::perms::owner_all);
    return card;
}

pid_t Start(const fs::path& card) {
    const pid_t pid = fork();
    if (pid == 0) {
        // No sound device under a virtual display: SDL's silent one, so the sound path runs.
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        execl(card.c_str(), card.c_str(), nullptr);
        _exit(127);
    }
    return pid;
}

void End(pid_t pid) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

// Seconds of processor time (user and system) the process has used.
double CpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stoul(field);
        if (i == 15) stime = std::stoul(field);
    }
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

// The share of one core the process uses over `seconds`.
double CpuShare(pid_t pid, double seconds) {
    const double before = CpuSeconds(pid);
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    return (CpuSeconds(pid) - before) / seconds;
}

// Whether the screen shows `picture`'s pixels at a few places of the centred card.
bool Shows(Display* display, const BenchPicture& picture) {
    const Window root = DefaultRootWindow(display);
    const int left = (DisplayWidth(display, 0) - kWidth) / 2;
    const int top = (DisplayHeight(display, 0) - kHeight) / 2;
    const std::array<std::pair<int, int>, 5> places = {
        {{10, 10}, {kWidth - 11, 20}, {kWidth / 2, kHeight / 2}, {30, kHeight - 5}, {1500, 900}}};
    for (const auto& [x, y] : places) {
        XImage* image = XGetImage(display, root, left + x, top + y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return false;
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        const TColorRGB c = picture.colors.Colors[picture.indices.RowData(y + 1)[x]];
        if (((pixel >> 16) & 0xFF) != c.Red || ((pixel >> 8) & 0xFF) != c.Green ||
            (pixel & 0xFF) != c.Blue)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 11;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "bench_player needs a display: run it under xvfb-run -s "
                             "\"-screen 0 1920x1200x24\"\n");
        return 2;
    }
    const BenchPicture picture = PhotoLike(kWidth, kHeight);
    const std::string gif = Gif(picture);

    // The background at once, from the card's first millisecond.
    const fs::path first = MakeCard(
        "first-frame.exe",
        PackageOf({{"fond2.gif", gif}, {"script.txt", "1920\r\n1080\r\nt0:fond2.gif:1000\r\n"}}));
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const Clock::time_point start = Clock::now();
        const pid_t pid = Start(first);
        while (!Shows(display, picture) && Clock::now() - start < std::chrono::seconds(10))
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        End(pid);
        std::this_thread::sleep_for(std::chrono::milliseconds(200)); // the window goes
    }
    std::printf("first frame of a %dx%d card on the screen: median %.1f ms of %d runs "
                "(min %.1f, max %.1f)\n",
                kWidth, kHeight, bench::Median(times), runs,
                *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()));

    // Blinds over 4 s, a one-second tune; then the card waits on its last picture.
    midibuild::Track notes;
    for (uint32_t beat = 0; beat < 4; ++beat)
        notes.Note(beat * 240, 200, 0, 60 + int(beat) * 2);
    const std::vector<uint8_t> tune = midibuild::File(0, 480, {notes});
    const fs::path last = MakeCard(
        "last-picture.exe",
        PackageOf({{"fond2.gif", gif},
                   {"Midi3.mid", std::string(tune.begin(), tune.end())},
                   {"script.txt", "1920\r\n1080\r\nMidi:Midi3.mid\r\nt5:fond2.gif:4000\r\n"}}));
    std::vector<double> drawing, waiting;
    for (int i = 0; i < std::max(3, runs / 3); ++i) {
        const pid_t pid = Start(last);
        std::this_thread::sleep_for(std::chrono::milliseconds(1000));
        drawing.push_back(CpuShare(pid, 2.0));
        std::this_thread::sleep_for(std::chrono::milliseconds(2500)); // the card and tune end
        waiting.push_back(CpuShare(pid, 3.0));
        End(pid);
    }
    std::printf("processor time of the card, share of one core (median of %zu runs):\n"
                "  during a %dx%d transition        %5.1f %%\n"
                "  on its last picture, tune ended  %5.2f %%\n",
                waiting.size(), kWidth, kHeight, 100 * bench::Median(drawing),
                100 * bench::Median(waiting));
    XCloseDisplay(display);
    fs::remove(first);
    fs::remove(last);
}
