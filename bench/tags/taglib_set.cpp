// The peer of `velmora-cli set --title`: TagLib (libtag1-dev) sets the title of each file
// and saves its ID3v2 tag as ID3v2.3, touching no other tag.
//
//   taglib_set TITLE FILE...
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: taglib_set TITLE FILE...\n");
        return 2;
    }
    int failed = 0;
    for (int i = 2; i < argc; ++i) {
        TagLib::MPEG::File file(argv[i], false);
        if (!file.isValid()) {
            ++failed;
            continue;
        }
        file.ID3v2Tag(true)->setTitle(TagLib::String(argv[1], TagLib::String::UTF8));
        if (!file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3,
                       TagLib::File::DoNotDuplicate))
            ++failed;
    }
    return failed == 0 ? 0 : 1;
}
