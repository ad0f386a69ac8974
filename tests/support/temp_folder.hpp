// A fresh folder for one test, removed with everything in it when the object goes.
#pragma once

#include <filesystem>
#include <string>

class temp_folder {
  public:
    // The folder is made inside under (the system's temporary folder unless given).
    explicit temp_folder(
        const std::filesystem::path& under = std::filesystem::temp_directory_path());
    ~temp_folder();
    temp_folder(const temp_folder&) = delete;
    temp_folder& operator=(const temp_folder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The path of name inside the folder.
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Writes text to name inside the folder (see write_text) and returns its path.
    std::string write(const std::string& name, const std::string& text) const;

  private:
    std::filesystem::path path_;
};
