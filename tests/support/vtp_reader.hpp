// Reads back the VTK XML PolyData files tolvex writes (appended raw, zlib, UInt64 headers), for
// tests: each array of the head in order, with its bytes inflated.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct vtp_read_array {
    std::string name;
    std::string type;
    std::string bytes;

    template <class T> std::vector<T> values() const {
        std::vector<T> out(bytes.size() / sizeof(T));
        std::memcpy(out.data(), bytes.data(), out.size() * sizeof(T));
        return out;
    }
};

// The arrays of text in the order the head names them; throws std::runtime_error when text is not
// such a file.
std::vector<vtp_read_array> read_vtp_arrays(const std::string& text);

// The first array named name after skip others of that name; throws when there is none.
const vtp_read_array& vtp_array_named(const std::vector<vtp_read_array>& arrays,
                                      const std::string& name, int skip = 0);
