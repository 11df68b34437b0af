#include "replace/TemporaryPattern.h"

namespace velmora::replace {

namespace {

constexpr std::string_view kSuffix = ".tmp";
constexpr std::string_view kHex = "0123456789abcdef";
constexpr std::string_view kLettersAndDigits = "abcdefghijklmnopqrstuvwxyz0123456789";
// Room for the dot, the random part and ".tmp" within a 255-byte file name.
constexpr std::size_t kMaxStemBytes = 200;

}  // namespace

TemporaryPattern::TemporaryPattern(std::string prefix, std::size_t randomLength,
                                   std::string_view alphabet)
    : prefix_(std::move(prefix)), randomLength_(randomLength), alphabet_(alphabet) {}

TemporaryPattern TemporaryPattern::Save() {
    return TemporaryPattern(".velmora-save-", 12, kHex);
}

TemporaryPattern TemporaryPattern::NamedAfter(std::string_view targetName) {
    return TemporaryPattern("." + std::string(targetName.substr(0, kMaxStemBytes)) + ".", 8,
                            kLettersAndDigits);
}

std::string TemporaryPattern::Make(std::mt19937& random) const {
    std::string name = prefix_;
    for (std::size_t i = 0; i < randomLength_; ++i) {
        name += alphabet_[random() % alphabet_.size()];
    }
    return name.append(kSuffix);
}

bool TemporaryPattern::Matches(std::string_view name) const {
    if (name.size() != prefix_.size() + randomLength_ + kSuffix.size() ||
        !name.starts_with(prefix_) || !name.ends_with(kSuffix)) {
        return false;
    }
    const std::string_view middle = name.substr(prefix_.size(), randomLength_);
    return middle.find_first_not_of(alphabet_) == std::string_view::npos;
}

}  // namespace velmora::replace
