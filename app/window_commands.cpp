#include "app/window_commands.h"

#include <cstring>
#include <string>

#include "app/application.h"
#include "screen_objects/object_registry.h"
#include "screen_objects/window_host.h"
#include "zeta/export/picture_file_name.h"
#include "zeta/export/picture_saving.h"
#include "zeta/export/pictures_folder.h"
#include "zeta/viewer/readout.h"

bool run_window_command(Application& application, UINT virtual_key) {
    if (GetKeyState(VK_CONTROL) >= 0) return false;
    if (virtual_key == 'C') {
        copy_readout(application);
        return true;
    }
    if (virtual_key == 'S') {
        save_picture(application);
        return true;
    }
    return false;
}

bool copy_readout(Application& application) {
    const std::string& line = application.viewer.readout;
    if (line.empty() || !OpenClipboard(application.main_window)) return false;
    const std::u16string text = utf16(line);
    const SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool copied = false;
    if (void* target = memory != nullptr ? GlobalLock(memory) : nullptr) {
        std::memcpy(target, text.c_str(), bytes);
        GlobalUnlock(memory);
        copied = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    // Once set, the memory is the clipboard's.
    if (!copied && memory != nullptr) GlobalFree(memory);
    CloseClipboard();
    return copied;
}

void save_picture(Application& application) {
    const Window_Picture picture = paint_window_picture(object_registry, application.main_window);
    On_Screen_Object_Ostrelin_Zeta_Function_Viewer& viewer = application.viewer;
    if (picture.pixels.empty()) {
        viewer.show_message("The picture could not be saved: not enough memory for it.");
        return;
    }
    const Plot_Settings& settings = viewer.job.settings;
    Picture_Name_Values name;
    name.quantity = graph_quantity(settings.mode).name;
    name.real_part = settings.real_part;
    name.imaginary_part = settings.imaginary_part;
    name.real_scale = settings.real_scale;
    name.imaginary_scale = settings.imaginary_scale;
    if (settings.method == Series_Method) name.series_terms = settings.precision;
    const Saved_Picture saved = save_png_picture(pictures_folder(), picture_file_name(name), picture.width,
                                                 picture.height, picture.pixels);
    if (saved.path.empty()) {
        viewer.show_message("The picture could not be saved: " + saved.error);
        return;
    }
    const std::u8string path = saved.path.u8string();
    viewer.show_message("Saved the picture as " + std::string(path.begin(), path.end()));
}
