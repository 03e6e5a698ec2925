#pragma once

#include "cell.h"

#include <QPixmap>
#include <QWidget>
#include <functional>

// One square of the board: a flat 57 x 57 cell framed by a one-pixel line,
// its picture drawn at natural size from the inner corner and clipped there.
class PictureCell : public QWidget, public Cell {
    Q_OBJECT

public:
    static constexpr int Side = 57;
    static constexpr int Frame = 1;

    // What a picture means to the player: "конь", "пройдена", "свободна".
    using Describe = std::function<QString(const std::string& picturePath)>;

    explicit PictureCell(QWidget* parent = nullptr);

    // The square this cell shows, for the name a screen reader speaks.
    void setSquare(int row, int col, Describe describe);

    void setBackColor(ColourValue colour) override;
    void loadPicture(const std::string& fullPath) override;
    void clearPicture() override;

    QColor backColor() const { return backColor_; }
    const QPixmap& picture() const { return picture_; }
    QString picturePath() const { return picturePath_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect innerRect() const { return rect().adjusted(Frame, Frame, -Frame, -Frame); }
    void pictureChanged(const std::string& picturePath);

    QColor backColor_;
    QPixmap picture_;
    QString picturePath_;
    bool pressed_ = false;
    int row_ = 0;
    int col_ = 0;
    Describe describe_;
};
