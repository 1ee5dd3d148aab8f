// The card's window on the display, through SDL: its client area the card's size, centred,
// showing the frames it is given. SDL stays behind this class and the playback's event wait.
#pragma once

#include "RgbImage.h"

#include <stdexcept>
#include <string>

struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Window;

// No display to open the window on; SDL's words for why.
class ENoDisplay : public std::runtime_error {
public:
    explicit ENoDisplay(const std::string& message) : std::runtime_error(message) {}
};

class TCardWindow {
public:
    // Opens the window, black, titled `title`, with a client area of width x height (smaller,
    // in the same proportions, when the display's usable area is smaller).
    TCardWindow(const std::string& title, int32_t width, int32_t height);
    ~TCardWindow();
    TCardWindow(const TCardWindow&) = delete;
    TCardWindow& operator=(const TCardWindow&) = delete;

    // Puts `frame` (the card's size) on the screen.
    void Show(const TRgbImage& frame);
    // Shows the last frame again, after the window was covered or moved.
    void Redraw();
    // The display's frame period, in whole milliseconds.
    int FramePeriodMs() const { return framePeriodMs_; }
    SDL_Window* Handle() const { return window_; }

private:
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int framePeriodMs_ = 16;
};
