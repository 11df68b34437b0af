#include "text/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <optional>

#include "text/Utf8.h"

namespace velmora::text {
namespace {

// Owns one iconv descriptor.
class Iconv {
  public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (valid())
            iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole input; false when iconv stops on an invalid or unconvertible byte.
    bool Convert(std::string_view in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.clear();
        std::string buffer(in.size() * 4 + 16, '\0');
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = buffer.data();
        std::size_t dstLeft = buffer.size();
        while (srcLeft > 0) {
            if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1))
                break;
            if (errno != E2BIG)
                return false;
            std::size_t used = buffer.size() - dstLeft;
            buffer.resize(buffer.size() * 2);
            dst = buffer.data() + used;
            dstLeft = buffer.size() - used;
        }
        if (iconv(cd_, nullptr, nullptr, &dst, &dstLeft) == static_cast<std::size_t>(-1)) {
            return false;
        }
        buffer.resize(buffer.size() - dstLeft);
        out = std::move(buffer);
        return true;
    }

  private:
    iconv_t cd_;
};

std::string AsBytes(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

std::u16string FromBytes(const std::string& bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return text;
}

// Multi-byte conversions go character by character on failure, so one unconvertible
// character becomes '?' instead of losing the rest of the text.
std::u16string DecodeWithIconv(const std::string& name, std::string_view bytes) {
    Iconv cd("UTF-16LE", name.c_str());
    std::string out;
    if (cd.valid() && cd.Convert(bytes, out))
        return FromBytes(out);
    std::u16string text;
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        text.push_back(b < 0x80 ? b : u'?');
    }
    return text;
}

std::optional<std::string> EncodeCharWithIconv(Iconv& cd, std::u16string_view unit) {
    std::string out;
    if (!cd.Convert(AsBytes(unit), out))
        return std::nullopt;
    return out;
}

}  // namespace

CodePage::CodePage(std::string name) : name_(std::move(name)) {}
CodePage::~CodePage() = default;

std::unique_ptr<CodePage> CodePage::Create(const std::string& iconvName) {
    Iconv probe("UTF-16LE", iconvName.c_str());
    if (!probe.valid())
        return nullptr;
    std::unique_ptr<CodePage> page(new CodePage(iconvName));
    page->singleByte_ = page->BuildSingleByteTables();
    return page;
}

// A code page is single-byte when every byte decodes on its own to at most one UTF-16 unit
// and no two-byte sequence decodes differently from its bytes taken one at a time.
bool CodePage::BuildSingleByteTables() {
    Iconv cd("UTF-16LE", name_.c_str());
    for (int b = 0; b < 256; ++b) {
        char byte = static_cast<char>(b);
        std::string out;
        if (!cd.Convert(std::string_view(&byte, 1), out)) {
            // A lead byte of a multi-byte code page fails alone ("incomplete"); so does an
            // undefined byte of a single-byte one. Tell them apart by a trailing byte.
            std::string pair{byte, 'A'};
            std::string pairOut;
            if (cd.Convert(pair, pairOut) && pairOut.size() == 2)
                return false;
            decode_[b] = u'?';
            decodable_[b] = false;
            continue;
        }
        if (out.size() != 2)
            return false;
        decode_[b] = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                           (static_cast<unsigned char>(out[1]) << 8));
        decodable_[b] = true;
    }
    encode_.assign(0x10000, -1);
    for (int b = 255; b >= 0; --b) {
        if (decodable_[b])
            encode_[decode_[b]] = static_cast<std::int16_t>(b);
    }
    // Encode works character by character here, so a text round-trips iff each byte does.
    for (int b = 0; b < 256; ++b) {
        const std::int16_t back = encode_[decode_[b]];
        roundTrips_[b] = (back < 0 ? '?' : back) == b;
    }
    return true;
}

std::u16string CodePage::Decode(std::string_view bytes) const {
    if (!singleByte_)
        return DecodeWithIconv(name_, bytes);
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text[i] = decode_[static_cast<unsigned char>(bytes[i])];
    }
    return text;
}

std::string CodePage::Encode(std::u16string_view text) const {
    std::string bytes;
    bytes.reserve(text.size());
    if (singleByte_) {
        for (char16_t c : text) {
            std::int16_t b = encode_[c];
            bytes.push_back(b < 0 ? '?' : static_cast<char>(b));
        }
        return bytes;
    }
    Iconv cd(name_.c_str(), "UTF-16LE");
    std::string whole;
    if (cd.Convert(AsBytes(text), whole))
        return whole;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t len = 1;
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size())
            len = 2;
        auto one = EncodeCharWithIconv(cd, text.substr(i, len));
        bytes += one ? *one : std::string("?");
        i += len - 1;
    }
    return bytes;
}

bool CodePage::RoundTrips(std::string_view bytes) const {
    if (!singleByte_)
        return Encode(Decode(bytes)) == bytes;
    for (char c : bytes) {
        if (!roundTrips_[static_cast<unsigned char>(c)])
            return false;
    }
    return true;
}

std::optional<std::u16string> CodePage::DecodeLossless(std::string_view bytes) const {
    if (!singleByte_) {
        if (!RoundTrips(bytes))
            return std::nullopt;
        return Decode(bytes);
    }
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (!roundTrips_[byte])
            return std::nullopt;
        text[i] = decode_[byte];
    }
    return text;
}

bool CodePage::CanEncode(std::u16string_view text) const {
    if (singleByte_) {
        for (char16_t c : text) {
            if (encode_[c] < 0)
                return false;
        }
        return true;
    }
    Iconv cd(name_.c_str(), "UTF-16LE");
    std::string out;
    return cd.Convert(AsBytes(text), out) && Decode(out) == text;
}

}  // namespace velmora::text
