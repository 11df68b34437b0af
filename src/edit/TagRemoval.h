#pragma once

#include "common/Messages.h"
#include "tags/ops/TagOpsFwd.h"

namespace velmora::edit {

// "Remove ID3v1" and "Remove ID3v2": one question for all the files, then, as one action,
// each record marked so that its next save removes the tag. The record's tag is emptied at
// once, so the file shows what the save will leave; values entered afterwards are kept and
// written as a new tag in place of the old one.
struct TagRemoval {
    const char16_t* action;  // the journal action's name
    const char16_t* warning;
    const char16_t* question;
    void (Mp3File::*mark)();
    void (*clear)(Mp3File& record);

    // Asked before any file is changed; Yes removes.
    Message Question() const;
    void Apply(Mp3File& record) const;
};

extern const TagRemoval kRemoveId3v1;
extern const TagRemoval kRemoveId3v2;

}  // namespace velmora::edit
