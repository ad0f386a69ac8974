#include "model_lists.hpp"

std::vector<fault> faults_pro;
std::vector<fault> faults_retro;
std::vector<block> blocks_init;
std::vector<block> blocks_retro;
std::vector<block> blocks_pro;
point_list tracers_init;
point_list tracers_retro;
point_list tracers_pro;
std::vector<fault> faults_loaded;
