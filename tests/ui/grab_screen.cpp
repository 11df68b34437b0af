// grab_screen OUT.png: waits until the X screen shows something that stays unchanged for a
// second, then saves the part of it that is not background.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <iostream>

namespace {

constexpr int kStepMs = 300;
constexpr int kStableSteps = 4;
constexpr int kGiveUpMs = 30000;

// The smallest rectangle holding every pixel that is not the black of an empty screen.
QRect Content(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(line[x]) > 0)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: grab_screen OUT.png\n";
        return 2;
    }
    QImage last;
    int stable = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kGiveUpMs && stable < kStableSteps) {
        QThread::msleep(kStepMs);
        QImage now = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
            QImage::Format_RGB32);
        const bool shows = !Content(now).isEmpty();
        stable = shows && now == last ? stable + 1 : 0;
        last = std::move(now);
    }
    if (stable < kStableSteps) {
        std::cerr << "grab_screen: the screen did not settle\n";
        return 1;
    }
    if (!last.copy(Content(last)).save(QString::fromLocal8Bit(argv[1]))) {
        std::cerr << "grab_screen: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
