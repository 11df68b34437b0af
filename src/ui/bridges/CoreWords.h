#pragma once

#include <QString>
#include <string_view>

#include "common/Messages.h"
#include "scan/FileListColumns.h"

namespace velmora::ui {

// The core words in English for `velmora-cli`; the window words the same things through
// these tables, so that a translation reaches them. Words no table holds are shown as given.

// An edit journal's action name ("Capitalize"), as the Undo and Redo commands name it.
QString ActionWord(std::u16string_view actionName);
// A column's header.
QString ColumnWord(Column column);
// A message's text, its lines joined by `lineBreak`, the system's reason after the last.
QString MessageWords(const Message& message, const QString& lineBreak);

}  // namespace velmora::ui
