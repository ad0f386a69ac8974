// Output files: links written through, devices written into, permissions kept, all or none.
#include "io/atomic_file.hpp"
#include "io/input_error.hpp"
#include "io/staged_files.hpp"
#include "tests/support/temp_folder.hpp"
#include "tests/support/text_files.hpp"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace tolvex;
namespace fs = std::filesystem;

namespace {

std::ptrdiff_t entries(const fs::path& folder) {
    return std::distance(fs::directory_iterator(folder), {});
}

fs::perms permissions(const std::string& file) {
    return fs::status(file).permissions();
}

} // namespace

TEST(OutputFiles, ASymbolicLinkIsWrittenThroughAndStaysALink) {
    const temp_folder dir;
    fs::create_directory(dir.path() / "data");
    const std::string kept = dir.write("data/kept.txt", "old");
    fs::create_symlink("data/kept.txt", dir.path() / "link");
    fs::create_symlink("data/new.txt", dir.path() / "dangling");

    write_file_atomically((dir.path() / "link").string(), "new");
    write_file_atomically((dir.path() / "dangling").string(), "made");

    EXPECT_TRUE(fs::is_symlink(dir.path() / "link"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "dangling"));
    EXPECT_EQ(read_text(kept), "new");
    EXPECT_EQ(read_text((dir.path() / "data/new.txt").string()), "made");
    EXPECT_EQ(entries(dir.path() / "data"), 2);
    EXPECT_EQ(entries(dir.path()), 3);
}

TEST(OutputFiles, ADeviceIsWrittenIntoAndNeverReplaced) {
    const temp_folder dir;
    // A twin of the null device, so that a fault here cannot replace the system's own.
    std::string device = (dir.path() / "null").string();
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
        if (::geteuid() == 0)
            GTEST_SKIP() << "no device node can be made here to write into";
        device = "/dev/null"; // a user without the right to make one cannot replace it either
    }
    struct stat before, after;
    ASSERT_EQ(::stat(device.c_str(), &before), 0);
    const char* old_tmpdir = std::getenv("TMPDIR");
    const std::string saved = old_tmpdir ? old_tmpdir : "";
    ::setenv("TMPDIR", dir.path().c_str(), 1);

    write_file_atomically(device, "into the device");
    staged_files out;
    out.write(device, "again");
    out.write((dir.path() / "file.txt").string(), "beside it");
    out.commit();

    old_tmpdir ? ::setenv("TMPDIR", saved.c_str(), 1) : ::unsetenv("TMPDIR");
    ASSERT_EQ(::stat(device.c_str(), &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_rdev, before.st_rdev);
    EXPECT_EQ(read_text((dir.path() / "file.txt").string()), "beside it");
    // The device's temporary files are gone.
    EXPECT_EQ(entries(dir.path()), device == "/dev/null" ? 1 : 2);

    // A pipe reached through a link that only the system can follow, as /dev/stdout is.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    write_file_atomically("/proc/self/fd/" + std::to_string(ends[1]), "piped");
    ::close(ends[1]);
    char text[16] = {};
    EXPECT_EQ(::read(ends[0], text, sizeof text), 5);
    ::close(ends[0]);
    EXPECT_EQ(std::string(text), "piped");
}

// A replaced file is a new file: it keeps the permission bits, but another hard link to the old
// one keeps the old text, as a snapshot made with hard links should.
TEST(OutputFiles, AReplacedFileKeepsItsPermissionsAndHardLinksKeepTheOldText) {
    const temp_folder dir;
    const std::string file = dir.write("out.txt", "old");
    fs::permissions(file, fs::perms(0640));
    fs::create_hard_link(file, dir.path() / "snapshot.txt");

    write_file_atomically(file, "new");

    EXPECT_EQ(read_text(file), "new");
    EXPECT_EQ(permissions(file), fs::perms(0640));
    EXPECT_EQ(read_text((dir.path() / "snapshot.txt").string()), "old");

    const mode_t mask = ::umask(027);
    write_file_atomically((dir.path() / "fresh.txt").string(), "");
    ::umask(mask);
    EXPECT_EQ(permissions((dir.path() / "fresh.txt").string()), fs::perms(0640));
}

TEST(OutputFiles, AFileTheUserMayNotWriteIsRefusedAndKept) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, whom permission bits do not refuse";
    const temp_folder dir;
    const std::string file = dir.write("locked.txt", "old");
    fs::permissions(file, fs::perms(0444));
    try {
        write_file_atomically(file, "new");
        FAIL() << "no error";
    } catch (const output_error& e) {
        EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
    }
    EXPECT_EQ(read_text(file), "old");
    EXPECT_EQ(entries(dir.path()), 1);
}

TEST(OutputFiles, StagedFilesTakeTheirPlacesOnlyTogether) {
    const temp_folder dir;
    const std::string old = dir.write("a.txt", "old a");
    const std::string folder = (dir.path() / "new/steps").string();
    {
        staged_files out;
        out.make_folder(folder);
        out.write(old, "new a");
        out.write(folder + "/b.txt", "new b");
        EXPECT_EQ(read_text(old), "old a");
    } // not committed
    EXPECT_EQ(read_text(old), "old a");
    EXPECT_EQ(entries(dir.path()), 1);

    staged_files out;
    out.make_folder(folder);
    out.write(old, "new a");
    out.write(folder + "/b.txt", "new b");
    out.commit();
    EXPECT_EQ(read_text(old), "new a");
    EXPECT_EQ(read_text(folder + "/b.txt"), "new b");
    EXPECT_EQ(entries(folder), 1);
}
