// Placeholders until the viewer is built.
#include "glut_data_manager.hpp"
#include "scene_image.hpp"
#include "viewer_window.hpp"

#include <stdexcept>

glut_data_manager& glut_data_manager::get_instance() {
    static glut_data_manager instance;
    return instance;
}
int myglut_plot() { return 0; }
bool open_viewer_window() { return false; }
int viewer_event_fd() { return -1; }
void pump_viewer_events() {}

namespace tolvex {
void save_scene_image(const std::string&, const std::vector<block>&, const point_list&,
                      const scene_image_options&) {
    throw std::runtime_error("scene images not built");
}
} // namespace tolvex
