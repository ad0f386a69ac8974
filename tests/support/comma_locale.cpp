#include "tests/support/comma_locale.hpp"

#include <clocale>
#include <cstdlib>
#include <string>

namespace {
constexpr const char* comma_locale_name = "de_DE.UTF-8";
} // namespace

comma_locale::comma_locale() {
    if (use())
        return;
    const std::string command = "localedef -i de_DE -f UTF-8 '" +
                                (folder.path() / comma_locale_name).string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) == -1)
        return;
    ::setenv("LOCPATH", folder.path().c_str(), 1);
    use();
}

comma_locale::~comma_locale() {
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");
}

bool comma_locale::use() {
    active_ = std::setlocale(LC_ALL, comma_locale_name) != nullptr &&
              std::localeconv()->decimal_point == std::string(",");
    return active_;
}
