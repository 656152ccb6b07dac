// Top-level windows of the SDL2 backend: each is an SDL window whose software surface shows the image that
// the window layer presents.
#include <algorithm>
#include <climits>

#include "platform/display/sdl_internal.h"

namespace platform::display::sdl {
namespace {

SDL_Window* find(Window_Id window) {
    return is_open() && window != 0 ? SDL_GetWindowFromID(window) : nullptr;
}

int position_or_default(int coordinate) {
    return coordinate == INT_MIN ? static_cast<int>(SDL_WINDOWPOS_UNDEFINED) : coordinate;
}

}  // namespace

Window_Id create_window(const char* title, int x, int y, int client_width, int client_height,
                        bool resizable) {
    if (!ensure_open()) return 0;
    Uint32 flags = SDL_WINDOW_HIDDEN | (resizable ? SDL_WINDOW_RESIZABLE : 0);
    SDL_Window* window = SDL_CreateWindow(title ? title : "", position_or_default(x), position_or_default(y),
                                          std::max(client_width, 1), std::max(client_height, 1), flags);
    if (window == nullptr) {
        SDL_Log("SDL_CreateWindow failed: %s", SDL_GetError());
        return 0;
    }
    return SDL_GetWindowID(window);
}

void destroy_window(Window_Id window) {
    if (SDL_Window* w = find(window)) SDL_DestroyWindow(w);
}

void set_title(Window_Id window, const char* title) {
    if (SDL_Window* w = find(window)) SDL_SetWindowTitle(w, title ? title : "");
}

void show_window(Window_Id window) {
    if (SDL_Window* w = find(window)) SDL_ShowWindow(w);
}

void hide_window(Window_Id window) {
    if (SDL_Window* w = find(window)) SDL_HideWindow(w);
}

void client_size(Window_Id window, int* width, int* height) {
    int w = 0;
    int h = 0;
    if (SDL_Window* sdl_window = find(window)) SDL_GetWindowSize(sdl_window, &w, &h);
    if (width) *width = w;
    if (height) *height = h;
}

void move_window(Window_Id window, int x, int y, int client_width, int client_height) {
    SDL_Window* w = find(window);
    if (w == nullptr) return;
    SDL_SetWindowPosition(w, x, y);
    SDL_SetWindowSize(w, std::max(client_width, 1), std::max(client_height, 1));
}

void present(Window_Id window, const std::uint32_t* pixels, int width, int height) {
    SDL_Window* w = find(window);
    if (w == nullptr || pixels == nullptr || width <= 0 || height <= 0) return;
    SDL_Surface* target = SDL_GetWindowSurface(w);
    if (target == nullptr) return;
    // The layer's pixels are 0x00RRGGBB words, which is SDL's RGB888; the blit converts to the screen's
    // format.
    SDL_Surface* image = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(pixels), width, height,
                                                            32, width * 4, SDL_PIXELFORMAT_RGB888);
    if (image == nullptr) return;
    // A window grown since the image was made shows white where the image does not reach.
    if (target->w > width || target->h > height) {
        SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 255, 255, 255));
    }
    SDL_Rect area{0, 0, width, height};
    SDL_BlitSurface(image, &area, target, nullptr);
    SDL_FreeSurface(image);
    SDL_UpdateWindowSurface(w);
}

void set_icon(Window_Id window, const std::uint32_t* pixels, int width, int height) {
    SDL_Window* w = find(window);
    if (w == nullptr || pixels == nullptr || width <= 0 || height <= 0) return;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(pixels), width, height,
                                                           32, width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (icon == nullptr) return;
    SDL_SetWindowIcon(w, icon);  // SDL keeps its own copy
    SDL_FreeSurface(icon);
}

}  // namespace platform::display::sdl
