#include "volume/file_error.h"

#include <cerrno>

namespace sulcan {

// errno              -> cause
// 0                  -> 0  no error
// ENOENT             -> 2  file not found
// ENOTDIR, ENAMETOOLONG, ELOOP, EISDIR -> 3  bad path
// EMFILE, ENFILE     -> 4  too many open files
// EACCES, EPERM, EROFS, ETXTBSY -> 5  access denied
// EBADF              -> 6  invalid handle
// EBUSY              -> 7  directory in use (cannot be removed)
// EMLINK             -> 8  no room for more directory entries
// ESPIPE, EINVAL on a seek -> 9  bad seek (EINVAL is taken as a seek error)
// EIO, ENXIO, ENODEV -> 10 hardware error
// EAGAIN             -> 11 sharing violation (a locked region)
// EDEADLK, ENOLCK    -> 12 lock violation
// ENOSPC, EDQUOT, EFBIG -> 13 disk full
// everything else    -> 1  unspecified (EOF is reported by the callers as 14)
int FileErrorCauseOf(int e) {
    switch (e) {
        case 0: return kFileNone;
        case ENOENT: return kFileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
        case EISDIR: return kFileBadPath;
        case EMFILE:
        case ENFILE: return kFileTooManyOpen;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY: return kFileAccessDenied;
        case EBADF: return kFileInvalidHandle;
        case EBUSY: return kFileRemoveCurrentDir;
        case EMLINK: return kFileDirectoryFull;
        case ESPIPE:
        case EINVAL: return kFileBadSeek;
        case EIO:
        case ENXIO:
        case ENODEV: return kFileHardIO;
        case EAGAIN: return kFileSharingViolation;
        case EDEADLK:
        case ENOLCK: return kFileLockViolation;
        case ENOSPC:
        case EDQUOT:
        case EFBIG: return kFileDiskFull;
        default: return kFileGeneric;
    }
}

const char* FileErrorText(int cause) {
    switch (cause) {
        case 0: return "No Error occurred.";
        case 1: return "An unspecified error occurred.";
        case 2: return "The file could not be located.";
        case 3: return "All or part of the path is invalid.";
        case 4: return "The permitted number of open files was exceeded.";
        case 5: return "The file could not be accessed.";
        case 6: return "There was an attempt to use an invalid file handle.";
        case 7: return "The current working directory cannot be removed.";
        case 8: return "There is no room for more directory entries.";
        case 9: return "There was an error trying to set the file position.";
        case 10: return "There was a hardware error.";
        case 11: return "SHARE.EXE was not loaded, or a shared region was locked.";
        case 12: return "There was an attempt to lock a region that was already locked.";
        case 13: return "The disk is full.";
        case 14: return "The end of file was reached.";
        default: return "Unknown error.";
    }
}

}  // namespace sulcan
