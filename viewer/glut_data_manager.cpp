#include "glut_data_manager.hpp"

#include <utility>

glut_data_manager& glut_data_manager::get_instance() {
    static glut_data_manager instance;
    return instance;
}

void glut_data_manager::set_histories(scene_history restored_run, scene_history forward_run) {
    // Process-wide, so even a fresh manager never repeats a revision a window has seen.
    static std::uint64_t last_revision = 0;
    restored = std::move(restored_run);
    forward = std::move(forward_run);
    revision = ++last_revision;
}
