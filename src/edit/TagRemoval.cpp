#include "edit/TagRemoval.h"

#include "edit/ActionNames.h"
#include "tags/Mp3File.h"

namespace velmora::edit {

const TagRemoval kRemoveId3v1{kRemoveId3v1Action,
                              u"All subsequent changes to the ID3v1 tag will not be saved.",
                              u"Really remove ID3v1?", &Mp3File::MarkRemoveV1};
const TagRemoval kRemoveId3v2{kRemoveId3v2Action,
                              u"All subsequent changes to the ID3v2 tag will not be saved.",
                              u"Really remove ID3v2?", &Mp3File::MarkRemoveV2};

Message TagRemoval::Question() const {
    return NoteMessage({warning, question}, kAppCaption, MessageIcon::Information,
                       MessageButtons::YesNo);
}

void TagRemoval::Apply(Mp3File& record) const {
    (record.*mark)();
}

}  // namespace velmora::edit
