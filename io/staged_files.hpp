// Output files written together or not at all: each goes to a temporary file first, and they all
// take their places only once every one of them is complete.
#pragma once

#include <string>
#include <vector>

namespace tolvex {

// A target that is a symbolic link is written at the file it points to; the link stays. An
// existing file is replaced by a new one with its permission bits (and, where the system allows,
// its owner and group); other hard links to it keep the old content. A device, pipe or other
// file that is not a regular file is written into directly and never replaced. A file the user
// may not write is refused.
class staged_files {
  public:
    staged_files() = default;
    // Removes every temporary file not committed, and the folders make_folder created for them
    // when they are empty again.
    ~staged_files();
    staged_files(const staged_files&) = delete;
    staged_files& operator=(const staged_files&) = delete;

    // Creates an empty temporary file for target and returns its path for the caller to fill.
    // Its name ends with target's own name, so a writer choosing a format by the ending chooses
    // as for target. Throws output_error naming target when target cannot be written.
    std::string stage(const std::string& target);

    // stage(target), then writes content into the temporary file completely.
    void write(const std::string& target, const std::string& content);

    // Creates folder and any missing folders above it. Throws output_error naming folder when it
    // cannot be created or is not a folder.
    void make_folder(const std::string& folder);

    // Marks the file at target for removal at commit, after the staged files are in place: what
    // an earlier run left that this one replaces without writing it again.
    void remove(const std::string& target);

    // Whether target was staged, by the name the caller gave.
    bool stages(const std::string& target) const;

    // Puts every staged file in place: first the devices and pipes are written, then the files
    // are renamed over their targets, then the files marked for removal go. Throws output_error
    // naming the target that failed; when a device or pipe fails, no file has been replaced.
    // Afterwards the set is empty again.
    void commit();

  private:
    struct entry {
        std::string target; // as the caller named it, for messages
        std::string file;   // where it is written: links followed
        std::string temp;   // empty once in place
        bool direct;        // written into at commit instead of replaced
        bool synced;        // the temporary file is known to be on disk
    };
    int create(const std::string& target);

    std::vector<entry> entries_;
    std::vector<std::string> made_folders_;
    std::vector<std::string> removals_;
};

} // namespace tolvex
