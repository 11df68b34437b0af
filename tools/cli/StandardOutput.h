#pragma once

#include <array>
#include <streambuf>
#include <string>

namespace velmora::cli {

// Standard output written with write(2) in place of the stream's own buffer, so that a failed write
// (a full disk, a closed descriptor) is seen and the run can fail with the system's reason instead
// of exiting 0 with its output cut. While it lives, std::cout writes through it.
class StandardOutput : private std::streambuf {
  public:
    StandardOutput();
    ~StandardOutput() override;
    StandardOutput(const StandardOutput&) = delete;
    StandardOutput& operator=(const StandardOutput&) = delete;

    // Writes what is still buffered; the errno of the first failed write, or 0.
    int Finish();

  private:
    int_type overflow(int_type c) override;
    int sync() override;
    bool Drain();

    std::array<char, 64 * 1024> buffer_{};
    std::streambuf* previous_ = nullptr;
    int error_ = 0;
};

}  // namespace velmora::cli
