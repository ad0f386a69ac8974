// One step of a history rendered offscreen as the window shows it: depth planes holding all the
// history's steps, faces coloured by the step's fault, tracers by their starting elevation.
#pragma once

#include "view_math/scene_history.hpp"
#include "viewer/offscreen_render.hpp"

#include <cstddef>

// step < history's step count.
tolvex::scene_pixels render_step_pixels(const scene_history& history, std::size_t step,
                                        const tolvex::scene_image_options& options);
