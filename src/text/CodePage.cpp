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

    // Converts the input up to the first byte iconv cannot take; `out` receives the text of
    // the bytes before it. Returns how many bytes were used, and in `error` 0 when all were,
    // else the errno: EILSEQ for an invalid or unconvertible byte, EINVAL for an incomplete
    // sequence at the end.
    std::size_t ConvertPrefix(std::string_view in, std::string& out, int& error) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        error = 0;
        std::string buffer(in.size() * 4 + 16, '\0');
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = buffer.data();
        std::size_t dstLeft = buffer.size();
        while (srcLeft > 0 && iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == kFailed) {
            if (errno != E2BIG) {
                error = errno;
                break;
            }
            const std::size_t used = buffer.size() - dstLeft;
            buffer.resize(buffer.size() * 2);
            dst = buffer.data() + used;
            dstLeft = buffer.size() - used;
        }
        if (error == 0 && iconv(cd_, nullptr, nullptr, &dst, &dstLeft) == kFailed)
            error = errno;
        buffer.resize(buffer.size() - dstLeft);
        out = std::move(buffer);
        return in.size() - srcLeft;
    }

    // Converts the whole input; returns 0 or the errno of ConvertPrefix.
    int Convert(std::string_view in, std::string& out) {
        int error = 0;
        ConvertPrefix(in, out, error);
        return error;
    }

  private:
    static constexpr auto kFailed = static_cast<std::size_t>(-1);
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

// A byte that does not convert becomes '?' and the conversion goes on after it, so one bad
// byte does not cost the rest of the text.
std::u16string DecodeWithIconv(const std::string& name, std::string_view bytes) {
    Iconv cd("UTF-16LE", name.c_str());
    std::u16string text;
    std::string piece;
    while (!bytes.empty()) {
        int error = 0;
        bytes.remove_prefix(cd.ConvertPrefix(bytes, piece, error));
        text += FromBytes(piece);
        if (error == 0)
            break;
        text += u'?';
        bytes.remove_prefix(1);
    }
    return text;
}

std::optional<std::string> EncodeCharWithIconv(Iconv& cd, std::u16string_view unit) {
    std::string out;
    if (cd.Convert(AsBytes(unit), out) != 0)
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

namespace {

// The C1 range, where single-byte Windows code pages leave their gaps.
constexpr int kFirstC1 = 0x80, kLastC1 = 0x9F;

// True when the byte starts a longer sequence: alone it is incomplete, or some byte after it
// makes one character of the two.
bool IsLeadByte(Iconv& cd, char byte, int errorAlone) {
    if (errorAlone == EINVAL)
        return true;
    for (int next = 0x40; next < 0x100; ++next) {
        const std::string pair{byte, static_cast<char>(next)};
        std::string out;
        if (cd.Convert(pair, out) == 0 && out.size() == 2)
            return true;
    }
    return false;
}

}  // namespace

// A code page is single-byte when every byte decodes on its own to one UTF-16 unit or is
// undefined, and no byte starts a longer sequence. Undefined bytes of the C1 range decode
// as the C1 control of the same value, as Windows does (CP1252 0x81 is U+0081), so that
// every byte of such a text survives a round trip.
bool CodePage::BuildSingleByteTables() {
    Iconv cd("UTF-16LE", name_.c_str());
    std::vector<bool> used(0x10000, false);
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        std::string out;
        const int error = cd.Convert(std::string_view(&byte, 1), out);
        if (error != 0) {
            if (IsLeadByte(cd, byte, error))
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
        used[decode_[b]] = true;
    }
    for (int b = kFirstC1; b <= kLastC1; ++b) {
        if (!decodable_[b] && !used[b]) {
            decode_[b] = static_cast<char16_t>(b);
            decodable_[b] = true;
        }
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
    if (cd.Convert(AsBytes(text), whole) == 0)
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
    return cd.Convert(AsBytes(text), out) == 0 && Decode(out) == text;
}

}  // namespace velmora::text
