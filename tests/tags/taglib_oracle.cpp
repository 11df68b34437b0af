// Outside oracle for the ID3v2 tests: prints what TagLib reads from each file named, one line
// per text frame, texts as hex of their UTF-8:
//     F <path>
//     V <major version> Y <year>
//     <frame ID> <hex of the values joined by '|'>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

#include <cstdio>
#include <string>

namespace {

std::string Hex(const TagLib::String& text) {
    const TagLib::ByteVector hex = text.data(TagLib::String::UTF8).toHex();
    return hex.isEmpty() ? "-" : std::string(hex.data(), hex.size());
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        TagLib::MPEG::File file(argv[i], false);
        std::printf("F %s\n", argv[i]);
        TagLib::ID3v2::Tag* tag = file.isValid() ? file.ID3v2Tag(false) : nullptr;
        if (!tag)
            continue;
        std::printf("V %u Y %u\n", tag->header()->majorVersion(), tag->year());
        for (const TagLib::ID3v2::Frame* frame : tag->frameList()) {
            auto* text = dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame*>(frame);
            const TagLib::ByteVector id = frame->frameID();
            if (text)
                std::printf("%s %s\n", std::string(id.data(), id.size()).c_str(),
                            Hex(text->fieldList().toString("|")).c_str());
        }
    }
    return 0;
}
