#pragma once

#include <QString>

namespace velmora::ui {

// The desktop's media player interface (MPRIS) on the session bus, and how long a call to
// it may take.
constexpr int kBusTimeoutMs = 500;
inline const QString kPlayerPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
inline const QString kPlayerPath = QStringLiteral("/org/mpris/MediaPlayer2");
inline const QString kTrackList = QStringLiteral("org.mpris.MediaPlayer2.TrackList");

}  // namespace velmora::ui
