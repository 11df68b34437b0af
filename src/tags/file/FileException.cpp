#include "tags/file/FileException.h"

#include <cerrno>
#include <utility>

namespace velmora {

CFileExceptionEx::CFileExceptionEx(int errorNumber, std::u16string path)
    : CFileExceptionEx(CauseFromErrno(errorNumber), errorNumber, std::move(path)) {}

CFileExceptionEx::CFileExceptionEx(Cause cause, int errorNumber, std::u16string path)
    : cause_(cause), errorNumber_(errorNumber), path_(std::move(path)) {
    message_ = CauseName(cause_);
    if (errorNumber_ != 0) {
        message_ += ": ";
        message_ += SystemError().message();
    }
}

CFileExceptionEx::Cause CFileExceptionEx::CauseFromErrno(int errorNumber) {
    switch (errorNumber) {
        case 0:
            return Cause::None;
        case ENOENT:
            return Cause::FileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
        case ENXIO:
        case ENODEV:
            return Cause::BadPath;
        case EMFILE:
        case ENFILE:
            return Cause::TooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
            return Cause::AccessDenied;
        case EISDIR:
        case EBADF:
            return Cause::InvalidFile;
        case ESPIPE:
        case EOVERFLOW:
            return Cause::BadSeek;
        case EIO:
            return Cause::HardIo;
        case ETXTBSY:
        case EBUSY:
            return Cause::Busy;
        case EWOULDBLOCK:
        case EDEADLK:
        case ENOLCK:
            return Cause::LockViolation;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return Cause::DiskFull;
        default:
            return Cause::Generic;
    }
}

const char* CFileExceptionEx::CauseName(Cause cause) {
    switch (cause) {
        case Cause::None:
            return "no error";
        case Cause::Generic:
            return "file error";
        case Cause::FileNotFound:
            return "file not found";
        case Cause::BadPath:
            return "bad path";
        case Cause::TooManyOpenFiles:
            return "too many open files";
        case Cause::AccessDenied:
            return "access denied";
        case Cause::InvalidFile:
            return "invalid file";
        case Cause::BadSeek:
            return "bad seek";
        case Cause::HardIo:
            return "hardware I/O error";
        case Cause::Busy:
            return "file busy";
        case Cause::LockViolation:
            return "lock violation";
        case Cause::DiskFull:
            return "disk full";
        case Cause::EndOfFile:
            return "end of file";
    }
    return "file error";
}

}  // namespace velmora
