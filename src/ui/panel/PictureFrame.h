#pragma once

#include <QImage>
#include <QWidget>

namespace velmora::ui {

// The picture dialog's frame: the image fitted into it (inside a one-pixel border), or
// nothing when there is none. A left click asks for the picture in a viewer.
class PictureFrame : public QWidget {
    Q_OBJECT

  public:
    explicit PictureFrame(QWidget* parent = nullptr);

    void SetImage(QImage image);
    const QImage& Image() const { return image_; }
    // Where the image is drawn, in the frame's coordinates; empty without an image.
    QRect ImageRect() const;

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QImage image_;
};

}  // namespace velmora::ui
