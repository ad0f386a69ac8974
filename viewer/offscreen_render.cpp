#include "viewer/offscreen_render.hpp"

#include "drawing/picture_text.hpp"
#include "view_math/scene_colours.hpp"
#include "view_math/view_guides.hpp"
#include "view_math/view_state.hpp"
#include "viewer/offscreen_context.hpp"
#include "viewer/scene_drawing.hpp"
#include "viewer/view_overlays.hpp"

#include <GL/gl.h>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace tolvex {

scene_pixels render_parts_pixels(const std::vector<scene_part>& parts, const scene_box& box,
                                 const frame_colouring& colouring,
                                 const scene_image_options& options) {
    if (options.width < 1 || options.height < 1)
        throw std::runtime_error("picture size " + std::to_string(options.width) + "x" +
                                 std::to_string(options.height) + " is not positive");
    offscreen_context context(options.width, options.height);

    const view_state view = start_view(options);
    apply_fixed_state(options.clear_color);
    const depth_range planes = depth_planes(view, box);
    apply_camera(view, planes);
    clear_frame();
    draw_mesh(build_frame_mesh(parts, options.modes, colouring), options.modes,
              scene_in_front(view, box, planes));
    std::vector<picture_text> texts;
    if (!options.label.empty())
        texts = text_line_places({options.label}, view);
    if (options.guides) {
        const guide_layout guides = guide_layout_of(view);
        draw_guide_lines(guides, view, options.clear_color);
        texts.insert(texts.end(), guides.labels.begin(), guides.labels.end());
    }
    scene_pixels pixels = read_scene_pixels(options.width, options.height);
    draw_picture_texts(pixels, texts, text_shade(options.clear_color));
    return pixels;
}

scene_pixels read_scene_pixels(int width, int height) {
    glFinish();
    scene_pixels pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.rgba.resize(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // GL counts rows from the bottom; the picture's first row is the top one.
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y)
        glReadPixels(0, height - 1 - y, width, 1, GL_RGBA, GL_UNSIGNED_BYTE, &pixels.rgba[y * row]);
    return pixels;
}

scene_pixels render_scene_pixels(const std::vector<block>& blocks, const point_list& tracers,
                                 const scene_image_options& options) {
    const block_set set = to_block_set(blocks);
    std::vector<scene_part> parts = picture_parts(set, tracers, options);
    const fault_surfaces walls =
        options.modes.fault_surfaces ? fault_surfaces_of(set) : fault_surfaces();
    parts.back().walls = &walls;
    scene_box box;
    add_parts(box, parts);
    frame_colouring colouring{options.plane, {0.0, 0.0}, options.horizon_colours};
    if (options.tracer_start_z.size() == tracers.size() && !tracers.empty()) {
        parts.back().start_z = &options.tracer_start_z;
        const auto [lo, hi] =
            std::minmax_element(options.tracer_start_z.begin(), options.tracer_start_z.end());
        colouring.start_z_range = {*lo, *hi};
    }
    return render_parts_pixels(parts, box, colouring, options);
}

} // namespace tolvex
