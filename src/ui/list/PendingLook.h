#pragma once

class QWidget;

namespace velmora::ui {

// How an editor field holding typed text that is not applied yet looks: a tinted background
// and italic text, so the user sees what a save or a change of selection will write.
void ShowPending(QWidget& field, bool pending);
bool ShowsPending(const QWidget& field);

}  // namespace velmora::ui
