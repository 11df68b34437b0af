#pragma once

class QPushButton;
class QWidget;

namespace velmora::ui {

// The four buttons the two list pages share, stacked beside the list.
struct ListButtons {
    QPushButton* add;
    QPushButton* edit;
    QPushButton* remove;
    QPushButton* removeAll;
};
ListButtons AddListButtons(QWidget& page, QWidget* list);

}  // namespace velmora::ui
