#include "tags/SafeRename.h"

#include "common/Messages.h"
#include "replace/RenameNoReplace.h"
#include "text/FileName.h"

namespace velmora {

namespace {

std::string PathOf(const std::u16string& directory, const std::u16string& name) {
    return text::TextToFileName(directory + u"/" + name);
}

}  // namespace

bool RenameNoReplace(const std::u16string& directory, const std::u16string& oldName,
                     const std::u16string& newName, int* error) {
    const std::error_code result =
        replace::RenameNoReplace(PathOf(directory, oldName), PathOf(directory, newName));
    if (error != nullptr) {
        *error = result.value();
    }
    return !result;
}

bool RenameFileOrReport(const std::u16string& directory, const std::u16string& oldName,
                        const std::u16string& newName, MessageSink& messages) {
    if (RenameNoReplace(directory, oldName, newName)) {
        return true;
    }
    ShowError(messages, u"Couldn't rename \"" + oldName + u"\" to \"" + newName + u"\".");
    return false;
}

}  // namespace velmora
