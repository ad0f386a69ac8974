#include "glut_data_manager.hpp"

glut_data_manager& glut_data_manager::get_instance() {
    static glut_data_manager instance;
    return instance;
}
