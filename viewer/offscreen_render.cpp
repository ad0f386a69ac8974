#include "viewer/offscreen_render.hpp"

#include "view_math/view_state.hpp"
#include "viewer/offscreen_context.hpp"
#include "viewer/scene_drawing.hpp"
#include "viewer/view_overlays.hpp"

#include <GL/gl.h>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace tolvex {
namespace {

scene_pixels render_parts(const std::vector<scene_part>& parts, const scene_box& box,
                          const frame_colouring& colouring, const scene_image_options& options) {
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
    if (!options.label.empty())
        draw_text_lines({options.label}, view, options.clear_color);
    if (options.guides)
        draw_guides(view, options.clear_color);
    return read_scene_pixels(options.width, options.height);
}

} // namespace

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
    std::vector<scene_part> parts = picture_parts(blocks, tracers, options);
    const fault_surfaces walls =
        options.modes.fault_surfaces ? fault_surfaces_of(blocks) : fault_surfaces();
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
    return render_parts(parts, box, colouring, options);
}

scene_pixels render_step_pixels(const scene_history& history, std::size_t step,
                                const scene_image_options& options) {
    scene_box box;
    add_history(box, history);
    step_frame frame;
    step_parts(history, step, options.modes.fault_surfaces, frame);
    return render_parts(frame.parts, box, {history.steps[step].plane, start_z_range(history)},
                        options);
}

} // namespace tolvex
