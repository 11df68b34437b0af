#include "ui/panel/PanelPage.h"

namespace velmora::ui {

PanelPage::PanelPage(const PanelLink& link, QWidget* parent) : QWidget(parent), link_(link) {}

void PanelPage::WriteEdits(std::span<Mp3File* const> selection) {
    (void)selection;
}

}  // namespace velmora::ui
