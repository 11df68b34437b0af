#pragma once

#include <QListWidget>
#include <string>
#include <vector>

namespace velmora::ui {

// The "Recent Expressions" list of the Rename and "Generate ID3" dialogs: the newest entry
// on top. Choosing an entry hands its text to the dialog's edit box.
class RecentExpressions : public QListWidget {
    Q_OBJECT

  public:
    explicit RecentExpressions(QWidget* parent = nullptr);

    // `entries` as stored: oldest first.
    void Show(const std::vector<std::u16string>& entries);
    // A used expression goes to the top, once.
    void Add(const QString& expression);
    // Takes the selected entry out of the list and returns it; empty when none is selected.
    QString TakeSelected();

  signals:
    void chosen(const QString& expression);
};

}  // namespace velmora::ui
