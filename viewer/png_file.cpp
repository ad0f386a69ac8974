#include "png_file.hpp"

#include "input_error.hpp"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvex {
namespace {

struct file_closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// libpng reports errors through a callback that must not return: it keeps the message and
// jumps back to write_rows, whose frame holds nothing that needs destroying.
void on_png_error(png_structp png, png_const_charp message) {
    auto* kept = static_cast<char*>(png_get_error_ptr(png));
    std::snprintf(kept, 256, "%s", message);
    png_longjmp(png, 1);
}

void on_png_warning(png_structp, png_const_charp) {}

// Empty on success, else what went wrong.
std::string write_rows(std::FILE* out, const scene_pixels& pixels) {
    char message[256] = "out of memory";
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, message, on_png_error, on_png_warning);
    if (!png)
        return message;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return message;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, pixels.width, pixels.height, 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t row = static_cast<std::size_t>(pixels.width) * 4;
    for (int y = 0; y < pixels.height; ++y)
        png_write_row(png, &pixels.rgba[y * row]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return {};
}

} // namespace

void write_png_file(const std::string& path, const scene_pixels& pixels) {
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        throw output_error(path + ": cannot be written: " + std::strerror(errno));
    // mkstemp makes the file private; the picture gets the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    try {
        std::unique_ptr<std::FILE, file_closer> out(fdopen(fd, "wb"));
        if (!out) {
            close(fd);
            throw std::runtime_error(std::strerror(errno));
        }
        const std::string problem = write_rows(out.get(), pixels);
        if (!problem.empty())
            throw std::runtime_error(problem);
        if (std::fflush(out.get()) != 0 || fsync(fileno(out.get())) != 0)
            throw std::runtime_error(std::strerror(errno));
        if (std::fclose(out.release()) != 0)
            throw std::runtime_error(std::strerror(errno));
        if (std::rename(temporary.c_str(), path.c_str()) != 0)
            throw std::runtime_error(std::strerror(errno));
    } catch (const std::exception& e) {
        std::remove(temporary.c_str());
        throw output_error(path + ": cannot be written: " + e.what());
    }
}

} // namespace tolvex
