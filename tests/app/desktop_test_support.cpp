#include "desktop_test_support.hpp"

#include "glut_data_manager.hpp"
#include "model_lists.hpp"
#include "tolvex_conf.hpp"

#include <fstream>
#include <sstream>

#include <unistd.h>

namespace tolvex::test {

scratch_dir::scratch_dir(const std::filesystem::path& under) {
    static int made = 0;
    dir = under / ("tolvex-desktop-" + std::to_string(::getpid()) + "-" + std::to_string(++made));
    std::filesystem::create_directories(dir);
}

scratch_dir::~scratch_dir() {
    std::error_code ec;
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(dir, ec);
}

void write_text(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

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
