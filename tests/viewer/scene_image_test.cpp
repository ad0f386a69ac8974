// Saving the start view as PNG: the file holds the rendered pixels, and a failed write names the
// path and leaves nothing behind.
#include "io/input_error.hpp"
#include "io/png_file.hpp"
#include "tests/support/temp_folder.hpp"
#include "tests/support/text_files.hpp"
#include "viewer/offscreen_render.hpp"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class SceneImage : public ::testing::Test {
  protected:
    void SetUp() override {
        opts.width = 96;
        opts.height = 64;
        opts.clear_color = {0.5f, 0.25f, 0.0f, 1.0f};
    }

    static std::vector<std::uint8_t> read_png(const fs::path& path, int& w, int& h) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, path.c_str()))
            return {};
        image.format = PNG_FORMAT_RGBA;
        std::vector<std::uint8_t> data(PNG_IMAGE_SIZE(image));
        if (!png_image_finish_read(&image, nullptr, data.data(), 0, nullptr))
            return {};
        w = static_cast<int>(image.width);
        h = static_cast<int>(image.height);
        return data;
    }

    // As the window saves a picture.
    void save(const fs::path& target) const {
        tolvex::write_png_file(target.string(), tolvex::render_scene_pixels({}, tracers, opts));
    }

    temp_folder dir;
    tolvex::scene_image_options opts;
    const point_list tracers{make_vec3(-200, -250, 0)};
};

TEST_F(SceneImage, FileHoldsTheRenderedPixelsAndReplacesAnOldOne) {
    const fs::path target = dir.path() / "view.png";
    write_text(target.string(), "old");
    save(target);

    int w = 0, h = 0;
    const auto stored = read_png(target, w, h);
    EXPECT_EQ(w, 96);
    EXPECT_EQ(h, 64);
    EXPECT_EQ(stored, tolvex::render_scene_pixels({}, tracers, opts).rgba);
    // Only the picture is left in the folder, no temporary file.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST_F(SceneImage, UnwritablePlaceNamesThePathAndLeavesNoFile) {
    const fs::path target = dir.path() / "missing" / "view.png";
    try {
        save(target);
        FAIL() << "no error for " << target;
    } catch (const tolvex::output_error& e) {
        EXPECT_NE(std::string(e.what()).find(target.string()), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(target));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 0);
}

TEST_F(SceneImage, PathThatIsAFolderIsRefusedAndKept) {
    const fs::path target = dir.path() / "taken";
    fs::create_directory(target);
    EXPECT_THROW(save(target), tolvex::output_error);
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

} // namespace
