#include "ui/panel/PanelPage.h"

#include <utility>

namespace velmora::ui {

PanelPage::PanelPage(const PanelLink& link, QWidget* parent) : QWidget(parent), link_(link) {}

void PanelPage::WriteEdits(std::span<Mp3File* const> selection) {
    (void)selection;
}

bool PanelPage::FillPart(std::span<Mp3File* const> part) {
    gathered_.insert(gathered_.end(), part.begin(), part.end());
    return true;
}

void PanelPage::EndFill() {
    Reload(std::exchange(gathered_, {}));
}

}  // namespace velmora::ui
