#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

// Replacing a file as a whole: the new content goes to a temporary file in the target's folder,
// which is then renamed over the target, so that a failure leaves the old file as it was.
namespace spreadsheet::detail {

// The system calls of an atomic save; tests replace some of them to make a step fail.
struct FileOperations {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    int (*sync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);

    static const FileOperations& system();
};

// Writes `bytes` to `path` atomically. The new file has the permissions of the file it replaces,
// or those of a new file. Throws common::Failure with messages::workbookSaveFailed(path, reason);
// no temporary file is left behind then.
void writeFileAtomically(const std::string& path, std::string_view bytes,
                         const FileOperations& operations = FileOperations::system());

// The user's words (messages::kDiskFull, ...) for a system error number.
const char* reasonForError(int error);

} // namespace spreadsheet::detail
