#include "StandardOutput.h"

#include <unistd.h>

#include <cerrno>
#include <iostream>

namespace velmora::cli {

StandardOutput::StandardOutput() {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    previous_ = std::cout.rdbuf(this);
}

StandardOutput::~StandardOutput() {
    Drain();
    std::cout.rdbuf(previous_);
}

int StandardOutput::Finish() {
    std::cout.flush();
    Drain();
    return error_;
}

StandardOutput::int_type StandardOutput::overflow(int_type c) {
    if (!Drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int StandardOutput::sync() {
    return Drain() ? 0 : -1;
}

// After the first failure nothing more is written: the output is cut anyway, and the run reports
// the first reason.
bool StandardOutput::Drain() {
    const char* next = pbase();
    while (error_ == 0 && next < pptr()) {
        const ssize_t written =
            ::write(STDOUT_FILENO, next, static_cast<std::size_t>(pptr() - next));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            error_ = written < 0 ? errno : EIO;
        else
            next += written;
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return error_ == 0;
}

}  // namespace velmora::cli
