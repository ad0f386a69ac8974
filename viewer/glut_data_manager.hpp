// What the viewer draws: every step of both cutting runs, handed over by the model run.
#pragma once

#include "scene_history.hpp"

#include <cstdint>

class glut_data_manager {
  public:
    static glut_data_manager& get_instance();

    scene_history restored; // the restoration run, from the centred boundary to its last step
    scene_history forward;  // the forward run; the viewer opens on its last step

    // Changes with every set_histories, so a window records its frames anew.
    std::uint64_t revision = 0;

    // Replaces both histories.
    void set_histories(scene_history restored_run, scene_history forward_run);
};
