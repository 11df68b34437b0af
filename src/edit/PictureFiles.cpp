#include "edit/PictureFiles.h"

#include <algorithm>
#include <array>
#include <string>

#include "common/Messages.h"
#include "export/ReplacingFile.h"
#include "tags/BufferedFile.h"

namespace velmora::edit {
namespace {

constexpr std::array<std::uint8_t, 3> kJpegSignature = {0xFF, 0xD8, 0xFF};
constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::size_t kSignatureBytes = kPngSignature.size();

bool StartsWith(std::span<const std::uint8_t> data, std::span<const std::uint8_t> signature) {
    return data.size() >= signature.size() &&
           std::equal(signature.begin(), signature.end(), data.begin());
}

void Complain(MessageSink& messages, std::vector<std::u16string> lines) {
    messages.Show(NoteMessage(std::move(lines), kAppCaption, MessageIcon::Error));
}

bool AskLarge(MessageSink& messages) {
    const std::string limit = std::to_string(kLargePictureMiB);
    const Message question = NoteMessage(
        {u"Image size is greater than " + std::u16string(limit.begin(), limit.end()) + u" MB.",
         u"Continue anyway?"},
        kAppCaption, MessageIcon::Question, MessageButtons::YesNo);
    return messages.Show(question) == MessageAnswer::Yes;
}

}  // namespace

std::optional<std::string> PictureSubtypeOfContent(std::span<const std::uint8_t> data) {
    if (StartsWith(data, kJpegSignature))
        return "jpg";
    if (StartsWith(data, kPngSignature))
        return "png";
    return std::nullopt;
}

std::optional<HeldPicture> ReadPictureFile(const std::u16string& path, MessageSink& messages) {
    BufferedFile file;
    CFileExceptionEx error;
    if (!file.Open(path, BufferedFile::kRead | BufferedFile::kOpenExisting, error)) {
        Complain(messages, {u"Couldn't open file:", path});
        return std::nullopt;
    }
    try {
        const std::uint64_t size = file.Size();
        if (size == 0) {
            Complain(messages, {u"File is empty!"});
            return std::nullopt;
        }
        // The format is told before the size question: a file that is no picture is
        // refused whatever its size.
        std::array<std::uint8_t, kSignatureBytes> head{};
        const std::size_t got = file.Read(head.data(), head.size());
        const auto subtype = PictureSubtypeOfContent(std::span(head.data(), got));
        if (!subtype) {
            Complain(messages, {u"File must be a JPG or PNG image!"});
            return std::nullopt;
        }
        if (size > kLargePictureBytes && !AskLarge(messages))
            return std::nullopt;
        HeldPicture picture{*subtype, std::vector<std::uint8_t>(size)};
        file.Seek(0);
        if (file.Read(picture.data.data(), picture.data.size()) != picture.data.size())
            throw CFileExceptionEx(EIO, path);
        return picture;
    } catch (const CFileExceptionEx&) {
        Complain(messages, {u"Error while reading file:", path});
    } catch (const std::bad_alloc&) {
        Complain(messages, {u"Error while reading file:", path});
    }
    return std::nullopt;
}

bool WritePictureFile(const std::u16string& path, std::span<const std::uint8_t> data,
                      MessageSink& messages) {
    if (data.empty()) {
        Complain(messages, {u"Image is empty!"});
        return false;
    }
    ReplacingFile file;
    CFileExceptionEx error;
    if (!file.Open(path, error)) {
        Complain(messages, {u"Couldn't open file:", path});
        return false;
    }
    try {
        file.Write(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
        file.Commit();
        return true;
    } catch (const CFileExceptionEx&) {
        Complain(messages, {u"Error while writing file:", path});
        return false;
    }
}

}  // namespace velmora::edit
