#include "io/staged_files.hpp"

#include "io/input_error.hpp"
#include "io/output_target.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvex {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const std::string& target, const std::string& what, int err) {
    throw output_error("cannot write " + target + ": " + what + ": " + std::strerror(err));
}

// Writes all of the size bytes at p to fd; false on any short or failed write.
bool write_all(int fd, const char* p, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// A hidden name that ends with the target's name, cut at the front to the longest file name the
// system takes.
std::string temp_name(const std::string& name) {
    thread_local std::mt19937 random{std::random_device{}()};
    std::array<char, 16> tag;
    std::snprintf(tag.data(), tag.size(), ".tolvex-%06x-",
                  static_cast<unsigned>(random() & 0xffffffu));
    const std::string prefix = tag.data();
    constexpr std::size_t name_max = 255;
    const std::size_t keep = std::min(name.size(), name_max - prefix.size());
    return prefix + name.substr(name.size() - keep);
}

// Creates a new empty file for name in folder with the permissions a new file of the user gets;
// its path goes to temp. Returns the open descriptor, or -1 with errno set.
int create_temp(const fs::path& folder, const std::string& name, std::string& temp) {
    for (int tries = 0; tries < 100; ++tries) {
        temp = (folder / temp_name(name)).string();
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Gives the file at fd the owner and group of st, or only the group, as far as the user may give
// files away; false when the user stays the owner.
bool keep_owner(int fd, const struct stat& st) {
    return ::fchown(fd, st.st_uid, st.st_gid) == 0 ||
           ::fchown(fd, static_cast<uid_t>(-1), st.st_gid) == 0;
}

// Closes fd; false (errno set) when closing or anything before it failed.
bool close_ok(int fd, bool ok) {
    const int err = errno;
    const bool closed = ::close(fd) == 0;
    if (!ok)
        errno = err;
    return ok && closed;
}

bool sync_file(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    return fd >= 0 && close_ok(fd, ::fsync(fd) == 0);
}

// Copies the bytes of the file at from into the device or pipe at to.
bool copy_into(const std::string& from, const std::string& to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    const int out = ::open(to.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (out < 0)
        return close_ok(in, false);
    std::array<char, 65536> buffer;
    bool ok = true;
    for (ssize_t n; ok && (n = ::read(in, buffer.data(), buffer.size())) != 0;)
        ok = n > 0 ? write_all(out, buffer.data(), static_cast<std::size_t>(n)) : errno == EINTR;
    ok = close_ok(out, ok);
    return close_ok(in, ok);
}

} // namespace

staged_files::~staged_files() {
    for (const entry& e : entries_)
        if (!e.temp.empty())
            ::unlink(e.temp.c_str());
    for (auto it = made_folders_.rbegin(); it != made_folders_.rend(); ++it)
        ::rmdir(it->c_str());
}

int staged_files::create(const std::string& target) {
    if (fs::path(target).filename().empty())
        throw output_error("cannot write " + target + ": not a file name");
    struct stat st;
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        throw output_error("cannot write " + target + ": it is a folder");
    if (exists && ::access(target.c_str(), W_OK) != 0)
        fail(target, "the file may not be changed", errno);
    const bool direct = exists && !S_ISREG(st.st_mode);
    // A device or pipe is opened through the links as the system follows them, which also
    // reaches the pipe behind /dev/stdout; a file is replaced where the links end.
    const std::string file = direct ? target : written_file(target);

    // A device or pipe is written at commit from a temporary file that need not lie beside it.
    std::error_code ec;
    const fs::path folder = direct ? fs::temp_directory_path(ec) : fs::path(file).parent_path();
    std::string temp;
    const int fd = create_temp(folder, fs::path(file).filename().string(), temp);
    if (fd < 0)
        fail(target,
             direct ? "cannot create a temporary file" : "cannot create a file in its folder",
             errno);
    entries_.push_back({target, file, temp, direct, false});
    if (exists && !direct) {
        // The new file takes the old one's place, so it keeps what the old one allowed.
        keep_owner(fd, st);
        ::fchmod(fd, st.st_mode & 0777);
    }
    return fd;
}

std::string staged_files::stage(const std::string& target) {
    ::close(create(target));
    return entries_.back().temp;
}

void staged_files::write(const std::string& target, const std::string& content) {
    const int fd = create(target);
    if (!close_ok(fd, write_all(fd, content.data(), content.size()) && ::fsync(fd) == 0))
        fail(target, "writing failed", errno);
    entries_.back().synced = true;
}

void staged_files::make_folder(const std::string& folder) {
    fs::path path = fs::absolute(folder).lexically_normal();
    if (!path.has_filename())
        path = path.parent_path();
    std::vector<fs::path> missing;
    std::error_code ec;
    for (fs::path p = path; p != p.parent_path() && !fs::exists(p, ec) && !ec; p = p.parent_path())
        missing.push_back(p);
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (::mkdir(it->c_str(), 0777) != 0)
            fail(folder, "cannot create the folder", errno);
        made_folders_.push_back(it->string());
    }
    if (!fs::is_directory(path, ec))
        throw output_error("cannot write " + folder + ": it is not a folder");
}

void staged_files::remove(const std::string& target) {
    removals_.push_back(target);
}

bool staged_files::stages(const std::string& target) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const entry& e) { return e.target == target; });
}

void staged_files::commit() {
    // Everything that can still fail comes before the first change a user would see.
    for (const entry& e : entries_)
        if (!e.direct && !e.synced && !sync_file(e.temp))
            fail(e.target, "writing failed", errno);
    for (entry& e : entries_) {
        if (!e.direct)
            continue;
        if (!copy_into(e.temp, e.file))
            fail(e.target, "writing failed", errno);
        ::unlink(e.temp.c_str());
        e.temp.clear();
    }
    for (entry& e : entries_) {
        if (e.direct)
            continue;
        if (std::rename(e.temp.c_str(), e.file.c_str()) != 0)
            fail(e.target, "cannot replace the file", errno);
        e.temp.clear();
    }
    for (const std::string& target : removals_)
        if (::unlink(target.c_str()) != 0 && errno != ENOENT)
            fail(target, "cannot remove the file", errno);
    entries_.clear();
    made_folders_.clear();
    removals_.clear();
}

} // namespace tolvex
