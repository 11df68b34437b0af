#include <string>

#include "export/XmlExportDocument.h"
#include "tags/id3v1/GenreTable.h"

namespace velmora {

namespace {

// Adds a text attribute when it is selected, unless it is empty and empties are skipped.
class TextAttributes {
  public:
    TextAttributes(XmlElement& element, bool skipIfEmpty)
        : element_(element), skipIfEmpty_(skipIfEmpty) {}

    void Add(bool selected, const char16_t* name, const std::u16string& value) const {
        if (selected && !(value.empty() && skipIfEmpty_)) {
            element_.Add<XmlStringAttribute>(name, value);
        }
    }

  private:
    XmlElement& element_;
    bool skipIfEmpty_;
};

void AddLocation(XmlElement& element, XmlLocation location, const ExportedFile& file) {
    if (location == XmlLocation::FileName) {
        element.Add<XmlStringAttribute>(u"filename", file.name);
    } else if (location == XmlLocation::FullPath) {
        element.Add<XmlStringAttribute>(u"path", file.directory + u"/" + file.name);
    }
}

void AddMp3Info(XmlElement& element, const XmlExportOptions& options, const ExportedFile& file) {
    if (options.mp3Bitrate) {
        element.Add<XmlUInt16Attribute>(u"bitrate", file.bitrate);
    }
    if (options.mp3Vbr) {
        element.Add<XmlBoolAttribute>(u"vbr", file.vbr);
    }
    if (options.mp3Duration) {
        element.Add<XmlUInt32Attribute>(u"duration", file.duration);
    }
}

void AddId3v1Numbers(XmlElement& element, const XmlExportOptions& options,
                     const ExportedFile& file) {
    const bool skip = options.skipIfEmpty;
    if (options.v1Track && !(file.track1 == 0 && skip)) {
        element.Add<XmlUInt8Attribute>(u"track1", file.track1);
    }
    if (options.v1Genre && !(file.genre1 == GenreTable::kNoGenre && skip)) {
        element.Add<XmlStringAttribute>(u"genre1",
                                        std::u16string(GenreTable::GenreName(file.genre1)));
    }
}

}  // namespace

void AddFileElement(XmlElement& parent, const XmlExportOptions& options, const ExportedFile& file) {
    XmlElement& element = parent.AddChild(u"File");
    AddLocation(element, options.Location(), file);
    AddMp3Info(element, options, file);

    const TextAttributes text(element, options.skipIfEmpty);
    text.Add(options.v2Artist, u"artist", file.artist);
    text.Add(options.v2Album, u"album", file.album);
    text.Add(options.v2Title, u"title", file.title);
    text.Add(options.v2Year, u"year", file.year);
    text.Add(options.v2Track, u"track", file.track);
    text.Add(options.v2Genre, u"genre", file.genre);
    text.Add(options.v1Artist, u"artist1", file.artist1);
    text.Add(options.v1Album, u"album1", file.album1);
    text.Add(options.v1Title, u"title1", file.title1);
    text.Add(options.v1Year, u"year1", file.year1);
    AddId3v1Numbers(element, options, file);
}

}  // namespace velmora
