#include "edit/TagRemoval.h"

#include "edit/ActionNames.h"
#include "tags/record/Mp3File.h"

namespace velmora::edit {
namespace {

void ClearV1(Mp3File& record) {
    record.V1() = Id3v1Tag();
}

void ClearV2(Mp3File& record) {
    if (!record.V2().Frames().empty())
        record.V2().MutableFrames().clear();
}

}  // namespace

const TagRemoval kRemoveId3v1{
    kRemoveId3v1Action,
    u"The ID3v1 tag is removed when the file is saved; values entered afterwards are saved as a "
    u"new tag.",
    u"Really remove ID3v1?", &Mp3File::MarkRemoveV1, &ClearV1};
const TagRemoval kRemoveId3v2{
    kRemoveId3v2Action,
    u"The ID3v2 tag is removed when the file is saved; values entered afterwards are saved as a "
    u"new tag.",
    u"Really remove ID3v2?", &Mp3File::MarkRemoveV2, &ClearV2};

Message TagRemoval::Question() const {
    return NoteMessage({warning, question}, kAppCaption, MessageIcon::Information,
                       MessageButtons::YesNo);
}

void TagRemoval::Apply(Mp3File& record) const {
    (record.*mark)();
    clear(record);
}

}  // namespace velmora::edit
