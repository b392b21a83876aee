#include "atomic_file.h"

#include "common/errors.h"
#include "common/messages.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace spreadsheet::detail {

namespace {

int systemOpen(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

[[noreturn]] void fail(const std::string& path, int error) {
    throw common::Failure(messages::workbookSaveFailed(path, reasonForError(error)));
}

std::string temporaryName(const std::filesystem::path& target) {
    static std::mt19937_64 generator{std::random_device{}()};
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string suffix;
    for (int i = 0; i < 8; ++i) {
        suffix += digits[generator() % 36];
    }
    std::filesystem::path folder = target.parent_path();
    std::string name = "." + target.filename().string() + "." + suffix + ".tmp";
    return (folder.empty() ? std::filesystem::path(name) : folder / name).string();
}

} // namespace

const FileOperations& FileOperations::system() {
    static const FileOperations operations{systemOpen, ::write, ::fsync, ::close, ::rename};
    return operations;
}

const char* reasonForError(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return messages::kDiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
        return messages::kNoWritePermission;
    case ENOENT:
    case ENOTDIR:
        return messages::kFolderMissing;
    case EBUSY:
    case ETXTBSY:
        return messages::kFileInUse;
    case EISDIR:
        return messages::kTargetIsFolder;
    default:
        return messages::kWriteError;
    }
}

void writeFileAtomically(const std::string& path, std::string_view bytes, const FileOperations& operations) {
    struct stat existing {};
    bool replacing = ::stat(path.c_str(), &existing) == 0;
    if (replacing && S_ISDIR(existing.st_mode)) {
        fail(path, EISDIR);
    }

    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryName(path);
        fd = operations.open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            fail(path, errno);
        }
    }
    if (fd < 0) {
        fail(path, EEXIST);
    }

    // From here on a failure removes the temporary file.
    auto abandon = [&](int error) {
        if (fd >= 0) {
            operations.close(fd);
        }
        ::unlink(temporary.c_str());
        fail(path, error);
    };
    if (replacing) {
        ::fchmod(fd, existing.st_mode & 07777);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t written = operations.write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            abandon(written < 0 ? errno : ENOSPC);
        }
        done += static_cast<std::size_t>(written);
    }
    if (operations.sync(fd) != 0) {
        abandon(errno);
    }
    int closed = operations.close(fd);
    fd = -1;
    if (closed != 0) {
        abandon(errno);
    }
    if (operations.rename(temporary.c_str(), path.c_str()) != 0) {
        abandon(errno);
    }
    // Make the rename itself durable; a failure here no longer loses data.
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    int folderFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
}

} // namespace spreadsheet::detail
