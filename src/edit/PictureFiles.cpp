#include "edit/PictureFiles.h"

#include <algorithm>
#include <array>
#include <string>

#include "common/Messages.h"
#include "tags/file/BufferedFile.h"
#include "tags/file/ReplacingFile.h"

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

}  // namespace

std::optional<std::string> PictureSubtypeOfContent(std::span<const std::uint8_t> data) {
    if (StartsWith(data, kJpegSignature))
        return "jpg";
    if (StartsWith(data, kPngSignature))
        return "png";
    return std::nullopt;
}

PictureRead ReadPicture(const std::u16string& path, bool allowLarge) {
    BufferedFile file;
    CFileExceptionEx error;
    if (!file.Open(path, BufferedFile::kRead | BufferedFile::kOpenExisting, error))
        return {std::nullopt, PictureRefusal::CannotOpen};
    try {
        const std::uint64_t size = file.Size();
        if (size == 0)
            return {std::nullopt, PictureRefusal::Empty};
        // The format is told before the size: a file that is no picture is refused whatever
        // its size.
        std::array<std::uint8_t, kSignatureBytes> head{};
        const std::size_t got = file.Read(head.data(), head.size());
        const auto subtype = PictureSubtypeOfContent(std::span(head.data(), got));
        if (!subtype)
            return {std::nullopt, PictureRefusal::NotJpgOrPng};
        if (size > kLargePictureBytes && !allowLarge)
            return {std::nullopt, PictureRefusal::Large};
        HeldPicture picture{*subtype, std::vector<std::uint8_t>(size)};
        file.Seek(0);
        if (file.Read(picture.data.data(), picture.data.size()) == picture.data.size())
            return {std::move(picture)};
    } catch (const CFileExceptionEx&) {
    } catch (const std::bad_alloc&) {
    }
    return {std::nullopt, PictureRefusal::ReadFailed};
}

PictureRead PictureFromBytes(std::vector<std::uint8_t> data) {
    if (data.empty())
        return {std::nullopt, PictureRefusal::Empty};
    auto subtype = PictureSubtypeOfContent(data);
    if (!subtype)
        return {std::nullopt, PictureRefusal::NotJpgOrPng};
    return {HeldPicture{std::move(*subtype), std::move(data)}};
}

std::vector<std::u16string> RefusalLines(PictureRefusal refusal, const std::u16string& path) {
    switch (refusal) {
        case PictureRefusal::CannotOpen:
            return {u"Couldn't open file:", path};
        case PictureRefusal::Empty:
            return {u"File is empty!"};
        case PictureRefusal::NotJpgOrPng:
            return {u"File must be a JPG or PNG image!"};
        case PictureRefusal::Large: {
            const std::string limit = std::to_string(kLargePictureMiB);
            return {u"Image size is greater than " + std::u16string(limit.begin(), limit.end()) +
                        u" MB.",
                    u"Continue anyway?"};
        }
        case PictureRefusal::ReadFailed:
            break;
    }
    return {u"Error while reading file:", path};
}

std::optional<HeldPicture> ReadPictureFile(const std::u16string& path, MessageSink& messages) {
    PictureRead read = ReadPicture(path, false);
    if (read.refusal == PictureRefusal::Large && !read.picture) {
        const Message question = NoteMessage(RefusalLines(PictureRefusal::Large, path), kAppCaption,
                                             MessageIcon::Question, MessageButtons::YesNo);
        if (messages.Show(question) != MessageAnswer::Yes)
            return std::nullopt;
        read = ReadPicture(path, true);
    }
    if (!read.picture)
        Complain(messages, RefusalLines(read.refusal, path));
    return std::move(read.picture);
}

bool WritePictureFile(const std::u16string& path, std::span<const std::uint8_t> data,
                      MessageSink& messages) {
    if (data.empty()) {
        Complain(messages, {kImageIsEmpty});
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
