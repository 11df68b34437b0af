#include "FrameView.h"
#include "Output.h"
#include "RecordDump.h"
#include "Sha256.h"
#include "tags/file/FileException.h"
#include "tags/id3v2/StoredBytesField.h"
#include "tags/record/Mp3File.h"

namespace velmora::cli {
namespace {

using json = nlohmann::ordered_json;

json TextList(const std::vector<std::u16string>& texts) {
    json list = json::array();
    for (const auto& text : texts)
        list.push_back(Printable(text));
    return list;
}

// The digest of data that may lie in the file; null, after saying why, when it cannot be read.
json DataDigest(const FrameView& view, const Mp3File& record) {
    if (view.dataField == nullptr)
        return Sha256Hex({});
    try {
        return Sha256Hex(ReadFieldBytes(*view.dataField, record));
    } catch (const CFileExceptionEx& error) {
        Complain(PathBytes(record.DiskPath()) + ": " + error.what());
        return nullptr;
    }
}

json FrameJson(const FrameView& view, const Mp3File& record) {
    json frame = {{"id", view.id}};
    if (view.encoding)
        frame["encoding"] = *view.encoding;
    switch (view.kind) {
        case FrameView::Kind::UserText:
            frame["description"] = Printable(view.description);
            [[fallthrough]];
        case FrameView::Kind::Text:
            frame["text"] = Printable(view.text);
            frame["values"] = TextList(view.values);
            break;
        case FrameView::Kind::UserUrl:
            frame["description"] = Printable(view.description);
            [[fallthrough]];
        case FrameView::Kind::Url:
            frame["url"] = view.url;
            break;
        case FrameView::Kind::Comment:
            frame["lang"] = view.language;
            frame["description"] = Printable(view.description);
            frame["text"] = Printable(view.text);
            break;
        case FrameView::Kind::Picture:
            frame["mime"] = view.mime;
            frame["type"] = view.pictureType;
            frame["description"] = Printable(view.description);
            [[fallthrough]];
        case FrameView::Kind::Raw:
            frame["size"] = view.dataSize;
            frame["sha256"] = DataDigest(view, record);
            break;
    }
    return frame;
}

json V2Json(const Mp3File& record, const text::CodePage& codePage) {
    if (record.LoadedId3v2Version() == 0 && record.V2().Frames().empty())
        return nullptr;
    json frames = json::array();
    for (const auto& frame : record.V2().Frames())
        frames.push_back(FrameJson(ViewFrame(*frame, codePage), record));
    return {{"version", record.LoadedId3v2Version()}, {"frames", std::move(frames)}};
}

json V1Json(const Id3v1Tag& v1) {
    if (v1.IsEmpty())
        return nullptr;
    return {{"title", Printable(v1.Text(Id3v1Tag::kTitle))},
            {"artist", Printable(v1.Text(Id3v1Tag::kArtist))},
            {"album", Printable(v1.Text(Id3v1Tag::kAlbum))},
            {"year", Printable(v1.Text(Id3v1Tag::kYear))},
            {"comment", Printable(v1.Text(Id3v1Tag::kComment))},
            {"track", v1.Track()},
            {"genre", v1.Genre()}};
}

// What the first audio frame says; null when no MPEG audio was found.
json MpegJson(const MpegInfo& mpeg) {
    if (!mpeg.found)
        return nullptr;
    static constexpr const char* kVersions[] = {"1", "2", "2.5"};
    static constexpr const char* kModes[] = {"stereo", "joint stereo", "dual channel",
                                             "single channel"};
    return {{"version", kVersions[static_cast<int>(mpeg.version)]},
            {"layer", mpeg.layer},
            {"sample_rate", mpeg.sampleRate},
            {"channel_mode", kModes[static_cast<int>(mpeg.channelMode)]}};
}

}  // namespace

json RecordJson(const Mp3File& record, const text::CodePage& codePage) {
    return {{"path", PathBytes(record.DiskPath())},
            {"name", PathBytes(record.Name())},
            {"directory", PathBytes(record.Directory())},
            {"bitrate", record.Bitrate()},
            {"vbr", record.Vbr()},
            {"duration", record.Duration()},
            {"mpeg", MpegJson(record.Mpeg())},
            {"needs_save", record.NeedsSave()},
            {"v2", V2Json(record, codePage)},
            {"v1", V1Json(record.V1())}};
}

std::string JsonLine(const json& object) {
    return object.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace velmora::cli
