// A C library locale that writes decimal commas, as a desktop program's is once Qt has set it from
// the environment, for tests of what must not depend on it.
#pragma once

#include "tests/support/temp_folder.hpp"

// Sets the locale while it lives, building it with localedef into a private folder when the
// system has none; active() tells whether that worked.
class comma_locale {
  public:
    comma_locale();
    ~comma_locale();
    comma_locale(const comma_locale&) = delete;
    comma_locale& operator=(const comma_locale&) = delete;
    bool active() const { return active_; }

  private:
    bool use();
    temp_folder folder;
    bool active_ = false;
};
