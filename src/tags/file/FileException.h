#pragma once

#include <exception>
#include <string>
#include <system_error>

namespace velmora {

// The one exception of file access: the classified cause, the system's errno and the path of
// the file (when known). Handlers name the failed step and the path, then the system's reason
// for the errno. Every cause is one a Linux call (or a short read) can produce.
class CFileExceptionEx : public std::exception {
  public:
    enum class Cause {
        None,
        Generic,
        FileNotFound,
        BadPath,
        TooManyOpenFiles,
        AccessDenied,
        InvalidFile,
        BadSeek,
        HardIo,
        Busy,
        LockViolation,
        DiskFull,
        EndOfFile,
    };

    CFileExceptionEx() = default;
    // Classifies `errorNumber` with CauseFromErrno.
    CFileExceptionEx(int errorNumber, std::u16string path);
    CFileExceptionEx(Cause cause, int errorNumber, std::u16string path);

    Cause GetCause() const { return cause_; }
    int ErrorNumber() const { return errorNumber_; }
    std::error_code SystemError() const { return {errorNumber_, std::generic_category()}; }
    const std::u16string& Path() const { return path_; }

    // "<cause>: <system message>", in UTF-8.
    const char* what() const noexcept override { return message_.c_str(); }

    static Cause CauseFromErrno(int errorNumber);
    static const char* CauseName(Cause cause);

  private:
    Cause cause_ = Cause::None;
    int errorNumber_ = 0;
    std::u16string path_;
    std::string message_ = "no error";
};

}  // namespace velmora
