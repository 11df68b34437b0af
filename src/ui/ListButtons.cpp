#include "ui/ListButtons.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <utility>

namespace velmora::ui {

ListButtons AddListButtons(QWidget& page, QWidget* list) {
    auto* layout = new QHBoxLayout(&page);
    layout->addWidget(list, 1);
    auto* column = new QVBoxLayout;
    ListButtons buttons{new QPushButton(QObject::tr("A&dd")), new QPushButton(QObject::tr("&Edit")),
                        new QPushButton(QObject::tr("Dele&te")),
                        new QPushButton(QObject::tr("Delete Al&l"))};
    for (QPushButton* button : {buttons.add, buttons.edit, buttons.remove, buttons.removeAll})
        column->addWidget(button);
    column->addStretch();
    layout->addLayout(column);
    // Keys on the list: Insert adds, Delete deletes, Enter edits.
    for (auto [key, button] :
         {std::pair{Qt::Key_Insert, buttons.add}, std::pair{Qt::Key_Delete, buttons.remove}}) {
        auto* shortcut = new QShortcut(QKeySequence(key), list, nullptr, nullptr,
                                       Qt::WidgetWithChildrenShortcut);
        QObject::connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
    }
    return buttons;
}

}  // namespace velmora::ui
