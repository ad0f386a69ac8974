#include "scene_image.hpp"

#include "offscreen_render.hpp"
#include "png_file.hpp"

namespace tolvex {

void save_scene_image(const std::string& path, const std::vector<block>& blocks,
                      const point_list& tracers, const scene_image_options& options) {
    write_png_file(path, render_scene_pixels(blocks, tracers, options));
}

} // namespace tolvex
