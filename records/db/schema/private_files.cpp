#include "records/db/schema/private_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {
[[noreturn]] void Fail(const char* what, const fs::path& path, int error) {
    throw fs::filesystem_error(what, path, std::error_code(error, std::generic_category()));
}
}  // namespace

void MakePrivateFolders(const fs::path& folder) {
    fs::path made;
    for (const fs::path& part : fs::absolute(folder).lexically_normal()) {
        made /= part;
        if (part.empty() || fs::is_directory(made)) continue;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) Fail("cannot make the folder", made, errno);
        // The umask may take more away; the owner needs all three.
        fs::permissions(made, fs::perms::owner_all);
    }
}

bool WriteNewFile(const fs::path& path, const std::string& text, fs::perms mode) {
    // O_EXCL: an existing file, or one made meanwhile by another program, is left alone.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST) return false;
        Fail("cannot create the file", path, errno);
    }
    int error = ::fchmod(fd, static_cast<mode_t>(mode & fs::perms::mask)) == 0 ? 0 : errno;
    for (std::size_t done = 0; error == 0 && done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno != EINTR) error = errno;
        if (n > 0) done += static_cast<std::size_t>(n);
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        ::unlink(path.c_str());
        Fail("cannot write the file", path, error);
    }
    return true;
}

bool CopyToNewFile(const fs::path& source, const fs::path& target, fs::perms mode) {
    std::ifstream in(source, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in || fs::is_directory(source)) Fail("cannot read the file", source, errno ? errno : EIO);
    return WriteNewFile(target, text.str(), mode);
}
