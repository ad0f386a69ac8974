#include "tests/support/temp_folder.hpp"

#include "tests/support/text_files.hpp"

#include <unistd.h>

namespace fs = std::filesystem;

temp_folder::temp_folder(const fs::path& under) {
    // The process id keeps parallel test programs apart; the count, tests within one program.
    static int made = 0;
    do
        path_ =
            under / ("tolvex-test-" + std::to_string(::getpid()) + "-" + std::to_string(++made));
    while (!fs::create_directories(path_));
}

temp_folder::~temp_folder() {
    // A test may have taken the write right from a folder inside; give it back so all can go.
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    for (fs::recursive_directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_directory(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string temp_folder::write(const std::string& name, const std::string& text) const {
    const std::string target = file(name);
    write_text(target, text);
    return target;
}
