#include "tools/plot_layout.h"

#include <cstdint>

std::string layout_problem(const RECT& plot, int image_width, int image_height) {
    const std::string image = std::to_string(image_width) + "x" + std::to_string(image_height);
    if (int64_t{plot.left} - imaginary_labels_width < 0) {
        return "the plot's left edge must be at least " + std::to_string(imaginary_labels_width) +
               " pixels from the image's left side, for the imaginary-axis labels";
    }
    if (int64_t{plot.top} - status_line_height < 0) {
        return "the plot's top edge must be at least " + std::to_string(status_line_height) +
               " pixels from the image's top, for the status line";
    }
    if (plot.right > image_width) {
        return "the plot's right edge (" + std::to_string(plot.right) + ") lies outside the " + image +
               " image";
    }
    if (int64_t{plot.bottom} + below_plot_height > image_height) {
        return "the " + image + " image is too small: the plot's bottom edge (" +
               std::to_string(plot.bottom) + ") needs " + std::to_string(below_plot_height) +
               " pixels below it for the colour bar and the labels";
    }
    return {};
}
