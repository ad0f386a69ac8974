// The format list of docs/file-formats.md names, for each kind of file, the endings the table of
// formats gives it: each listed part's endings in backticks are exactly the table's.
#include "formats/file_formats.hpp"
#include "tests/support/text_files.hpp"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

using namespace tolvex;

namespace {

struct listed_part {
    const char* start; // a bullet's or a heading's first characters
    unsigned contents; // holds:: bits
    bool written;      // the endings written as contents, else those read as them
};

// The part from start to the next bullet, heading or blank line (a heading's part runs to the
// next heading).
std::string part_text(const std::string& document, const std::string& start) {
    const std::size_t begin = document.find("\n" + start);
    if (begin == std::string::npos)
        return {};
    const std::vector<std::string> ends = start.starts_with("#")
                                              ? std::vector<std::string>{"\n## "}
                                              : std::vector<std::string>{"\n- ", "\n#", "\n\n"};
    std::size_t end = document.size();
    for (const std::string& next : ends)
        end = std::min(end, document.find(next, begin + 1));
    return document.substr(begin, end - begin);
}

std::set<std::string> endings_in(const std::string& text) {
    static const std::regex ending("`(\\.[a-z]+)`");
    std::set<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), ending);
         it != std::sregex_iterator(); ++it)
        found.insert((*it)[1]);
    return found;
}

std::set<std::string> as_set(const std::vector<std::string_view>& endings) {
    return {endings.begin(), endings.end()};
}

} // namespace

TEST(FormatList, EachListedKindOfFileNamesTheTablesEndingsAndEveryWrittenEndingIsListed) {
    using namespace holds;
    const std::string document = read_text(TOLVEX_DOCS "/file-formats.md");
    const listed_part parts[] = {
        {"- **Blocks**", blocks, true},
        {"- **Horizons and fault surfaces**", horizons | fault_surfaces, true},
        {"- **Tracer points**", tracer_points, true},
        {"- **Sections**", section | section_drawing, true},
        {"- **Cutoffs**", cutoffs | separations, true},
        {"- **Faults**", fault_data | fault_table, true},
        {"- **Pictures**", picture, true},
        {"## Horizon files", horizons, false},
        {"## Fault data file", fault_data | fault_table, false},
    };
    std::set<std::string> listed;
    for (const listed_part& part : parts) {
        const std::set<std::string> named = endings_in(part_text(document, part.start));
        EXPECT_EQ(named, as_set(part.written ? written_endings(part.contents)
                                             : read_endings(part.contents)))
            << part.start;
        if (part.written)
            listed.insert(named.begin(), named.end());
    }
    EXPECT_EQ(listed, as_set(written_endings(~0u)));
}
