#include "CardWindow.h"

#include "PlayerTexts.h"

#include <SDL.h>

#include <algorithm>
#include <utility>

namespace {
constexpr int kDefaultRefreshHz = 60;

// The largest size of the card's proportions that the display's usable area takes whole.
SDL_Point FittedSize(int32_t width, int32_t height) {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0 || usable.w <= 0 || usable.h <= 0 ||
        (width <= usable.w && height <= usable.h))
        return {width, height};
    if (int64_t(width) * usable.h > int64_t(height) * usable.w)
        return {usable.w, int(std::max<int64_t>(1, int64_t(height) * usable.w / width))};
    return {int(std::max<int64_t>(1, int64_t(width) * usable.h / height)), usable.h};
}
} // namespace

TCardWindow::TCardWindow(const std::string& title, int32_t width, int32_t height) {
    // A card left on its last picture lets the screen saver come; a desktop compositor keeps
    // working for a window that is not full screen; a card shown smaller is smoothed.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    // Without a desktop's display, SDL's search would only add the display libraries'
    // complaints to ours; a console's display is there for those who name its driver.
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (!asked && !SDL_getenv("DISPLAY") && !SDL_getenv("WAYLAND_DISPLAY"))
        throw ENoDisplay(playertext::kNoDesktop);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) throw ENoDisplay(SDL_GetError());
    // SDL falls back on drivers that show nothing when there is no display; they serve only
    // those who ask for them by name.
    const std::string driver = SDL_GetCurrentVideoDriver();
    if ((driver == "offscreen" || driver == "dummy") && !(asked && driver == asked)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw ENoDisplay(playertext::kNoVideoDevice);
    }
    const SDL_Point size = FittedSize(width, height);
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               size.x, size.y, 0);
    if (!window_) {
        const ENoDisplay error(SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw error;
    }
    // SDL's software renderer on the window system's shared-memory framebuffer: nothing to
    // start (without a graphics card, an OpenGL context takes longer to make than the card's
    // first frame may take) and no limit on the texture's size. Where the window system has
    // no such framebuffer (Wayland without X), whatever renderer SDL has.
    for (const bool software : {true, false}) {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, software ? "0" : "1");
        renderer_ = SDL_CreateRenderer(window_, -1, software ? SDL_RENDERER_SOFTWARE : 0);
        if (renderer_)
            texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB24,
                                         SDL_TEXTUREACCESS_STREAMING, width, height);
        if (texture_) break;
        if (renderer_) SDL_DestroyRenderer(std::exchange(renderer_, nullptr));
    }
    if (!texture_) {
        const ENoDisplay error(SDL_GetError());
        SDL_DestroyWindow(window_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw error;
    }
    // Should the window manager give the window another size, the card keeps its proportions.
    SDL_RenderSetLogicalSize(renderer_, width, height);
    SDL_DisplayMode mode;
    const int display = SDL_GetWindowDisplayIndex(window_);
    const int hz =
        display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0
            ? mode.refresh_rate
            : kDefaultRefreshHz;
    framePeriodMs_ = std::max(1, 1000 / hz);
}

TCardWindow::~TCardWindow() {
    SDL_DestroyTexture(texture_);
    SDL_DestroyRenderer(renderer_);
    SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void TCardWindow::Show(const TRgbImage& frame) {
    SDL_UpdateTexture(texture_, nullptr, frame.Rgb.data(), int(frame.Stride()));
    Redraw();
}

void TCardWindow::Redraw() {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}
