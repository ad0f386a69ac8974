// What the viewer draws: the lists the model run hands over by whole-list copy.
#pragma once

#include "block.hpp"

#include <vector>

class glut_data_manager {
  public:
    static glut_data_manager& get_instance();
    point_list tracers;
    std::vector<block> blocks;
};
