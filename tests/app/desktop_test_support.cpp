#include "desktop_test_support.hpp"

#include "glut_data_manager.hpp"
#include "model_lists.hpp"
#include "tolvex_conf.hpp"

namespace tolvex::test {

void reset_program_state() {
    tolvex_conf::get_instance() = tolvex_conf();
    for (auto* faults : {&faults_pro, &faults_retro, &faults_loaded})
        faults->clear();
    for (auto* blocks : {&blocks_init, &blocks_retro, &blocks_pro})
        blocks->clear();
    for (auto* tracers : {&tracers_init, &tracers_retro, &tracers_pro})
        tracers->clear();
    glut_data_manager::get_instance().set_histories({}, {});
}

} // namespace tolvex::test
