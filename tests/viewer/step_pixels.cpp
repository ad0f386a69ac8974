#include "tests/viewer/step_pixels.hpp"

tolvex::scene_pixels render_step_pixels(const scene_history& history, std::size_t step,
                                        const tolvex::scene_image_options& options) {
    scene_box box;
    add_history(box, history);
    step_frame frame;
    step_parts(history, step, options.modes.fault_surfaces, frame);
    return tolvex::render_parts_pixels(
        frame.parts, box, {step_plane(history, step), start_z_range(history)}, options);
}
