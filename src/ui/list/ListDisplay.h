#pragma once

#include <QColor>
#include <QIcon>

namespace velmora {
class SettingsKey;
}

namespace velmora::ui {

// The four list-display options, copied from the store when the window is made and each
// time Preferences closes.
struct ListDisplay {
    bool showIcons = false;
    bool showRedText = true;
    bool showGridlines = false;
    bool alternateBg = true;

    static ListDisplay Read(const SettingsKey& settings);
};

// The shade of even rows: the window colour 0x10 darker per channel when it is light (a
// channel at 0xEF or above), 0x10 lighter when it is dark, so the shade shows in dark themes
// too. Per channel, so no channel carries into the next one as a sum of packed RGB would.
QColor EvenRowShade(const QColor& window);

// Text colour of a row that needs saving.
inline const QColor kUpdatedText{255, 0, 0};

// The two 16 x 16 row images: a file, and a file that needs saving.
QIcon CleanRowIcon();
QIcon UpdatedRowIcon();
// The program's icon.
QIcon AppIcon();

}  // namespace velmora::ui
