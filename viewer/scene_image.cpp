#include "viewer/scene_image.hpp"

#include "io/png_file.hpp"
#include "view_math/camera_fit.hpp"
#include "viewer/offscreen_render.hpp"

namespace tolvex {

view_state start_view(const scene_image_options& options) {
    view_state view;
    view.ww = options.width;
    view.hh = options.height;
    return initial_view(view, options.eye);
}

std::vector<scene_part> picture_parts(const block_set& blocks, const point_list& tracers,
                                      const scene_image_options& options) {
    std::vector<scene_part> parts = parts_of(blocks, tracers);
    parts.back().horizons = &options.horizons;
    return parts;
}

std::string scene_image_png(const std::vector<block>& blocks, const point_list& tracers,
                            const scene_image_options& options, const std::string& path) {
    return png_bytes(render_scene_pixels(blocks, tracers, options), path);
}

std::optional<std::string> scene_image_advice(const std::vector<block>& blocks,
                                              const point_list& tracers,
                                              const scene_image_options& options) {
    const block_set set = to_block_set(blocks);
    const std::vector<scene_part> parts = picture_parts(set, tracers, options);
    scene_box box;
    add_parts(box, parts);
    const view_state view = start_view(options);
    if (box.empty() || shows_whole(view, depth_planes(view, box), parts))
        return std::nullopt;
    return start_view_advice(view, box);
}

} // namespace tolvex
