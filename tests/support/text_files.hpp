// Whole files as text, byte for byte (binary, so CR LF stays CR LF).
#pragma once

#include <string>

// The file's content; empty when it cannot be read.
std::string read_text(const std::string& path);

// Replaces the file's content with text; throws std::runtime_error naming the path on failure.
void write_text(const std::string& path, const std::string& text);
