// System metrics and the non-client frame that they give a window's style.
#include "platform/user/window_layer.h"

namespace platform::user {
namespace {

// Fixed metrics of the frame and caption, in pixels (the classic Win32 theme's values).
constexpr int caption_height = 19;
constexpr int border_width = 1;
constexpr int dialog_frame_width = 3;
constexpr int sizing_frame_width = 4;
constexpr int edge_width = 2;

}  // namespace

RECT non_client_frame(DWORD style, DWORD ex_style) {
    // A sizing or dialog frame has an outer edge; the sizing border adds to it; a border line comes last.
    bool thick = (style & WS_THICKFRAME) != 0;
    bool dialog = (style & WS_DLGFRAME) != 0;
    int edge = 0;
    if (thick || dialog) edge += dialog_frame_width - border_width;
    if (thick) edge += sizing_frame_width - dialog_frame_width;
    if ((style & (WS_BORDER | WS_DLGFRAME)) != 0) edge += border_width;
    if ((ex_style & WS_EX_CLIENTEDGE) != 0) edge += edge_width;
    RECT frame{edge, edge, edge, edge};
    if ((style & WS_CAPTION) == WS_CAPTION) frame.top += caption_height;
    return frame;
}

}  // namespace platform::user

using namespace platform::user;

int WINAPI GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN:
        case SM_CYSCREEN: {
            const platform::display::Backend* display = open_display();
            if (display == nullptr) return 0;
            int width = 0;
            int height = 0;
            display->screen_size(&width, &height);
            return index == SM_CXSCREEN ? width : height;
        }
        case SM_CYCAPTION:
            return caption_height;
        case SM_CXBORDER:
        case SM_CYBORDER:
            return border_width;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return dialog_frame_width;
        case SM_CXFRAME:
        case SM_CYFRAME:
            return sizing_frame_width;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return edge_width;
        default:
            return 0;
    }
}

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD ex_style) {
    if (rect == nullptr) return FALSE;
    (void)menu;  // windows here have no menu bar
    RECT frame = non_client_frame(style, ex_style);
    rect->left -= frame.left;
    rect->top -= frame.top;
    rect->right += frame.right;
    rect->bottom += frame.bottom;
    return TRUE;
}
