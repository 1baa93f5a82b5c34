#pragma once
// File error causes and their texts, shown in the save messages.
#include <string>

namespace sulcan {

enum FileErrorCause {
    kFileNone = 0,
    kFileGeneric = 1,
    kFileNotFound = 2,
    kFileBadPath = 3,
    kFileTooManyOpen = 4,
    kFileAccessDenied = 5,
    kFileInvalidHandle = 6,
    kFileRemoveCurrentDir = 7,
    kFileDirectoryFull = 8,
    kFileBadSeek = 9,
    kFileHardIO = 10,
    kFileSharingViolation = 11,
    kFileLockViolation = 12,
    kFileDiskFull = 13,
    kFileEndOfFile = 14,
};

// The cause for a POSIX errno value (0 for 0, 1 for anything unlisted).
int FileErrorCauseOf(int errnoValue);
const char* FileErrorText(int cause);
// Shorthand: the text for an errno value.
inline const char* FileErrorTextOfErrno(int errnoValue) {
    return FileErrorText(FileErrorCauseOf(errnoValue));
}

}  // namespace sulcan
