#include "x11_properties.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace e2e {

std::vector<unsigned long> cardinal_property(const std::string& display_name, unsigned long window,
                                             const std::string& name) {
    std::vector<unsigned long> items;
    Display* display = XOpenDisplay(display_name.c_str());
    if (display == nullptr) return items;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const Atom property = XInternAtom(display, name.c_str(), False);
    // Xlib hands format-32 items as longs, whatever their size on the wire.
    if (XGetWindowProperty(display, window, property, 0, 1L << 20, False, XA_CARDINAL, &type, &format, &count,
                           &remaining, &data) == Success &&
        type == XA_CARDINAL && format == 32 && data != nullptr) {
        const auto* values = reinterpret_cast<const unsigned long*>(data);
        // A long may carry the item sign-extended.
        for (unsigned long i = 0; i < count; ++i)
            items.push_back(values[i] & 0xFFFFFFFFul);
    }
    if (data != nullptr) XFree(data);
    XCloseDisplay(display);
    return items;
}

}  // namespace e2e
