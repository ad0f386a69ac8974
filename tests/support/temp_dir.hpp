// A fresh folder for one test, removed with everything in it afterwards, and file helpers.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

struct temp_dir {
    temp_dir() {
        std::random_device seed;
        path = std::filesystem::temp_directory_path() /
               ("tolvex-test-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path);
    }
    ~temp_dir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    // Writes text as it stands (binary, so CR LF stays CR LF) and returns the file's path.
    std::string write(const std::string& name, const std::string& text) const {
        const std::string file = (path / name).string();
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }
    std::filesystem::path path;
};

inline std::string file_text(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
