#include "board_pixels.h"

#include "test_rules.h"
#include "window_fixture.h"

#include <QBackingStore>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <limits>
#include <map>
#include <tuple>

namespace {

const QRgb Frame = qRgb(0, 0, 0);
const QRgb Grey = qRgb(TestRules::GreyValue, TestRules::GreyValue, TestRules::GreyValue);

struct Run {
    int start;
    int end; // one past the last pixel
};

// The frame lines crossed by a scan line from `from` to `to`.
QList<Run> frameRuns(const QImage& image, int from, int to, const std::function<QPoint(int)>& at) {
    QList<Run> runs;
    for (int i = from; i <= to; ++i) {
        if (image.pixel(at(i)) != Frame) {
            continue;
        }
        if (!runs.isEmpty() && runs.last().end == i) {
            ++runs.last().end;
        } else {
            runs.append({i, i + 1});
        }
    }
    return runs;
}

QString gridFault(const QList<Run>& runs, int lines, int from, int to, const QString& across) {
    if (runs.size() != lines) {
        return QStringLiteral("%1 frame lines %2, not %3").arg(runs.size()).arg(across).arg(lines);
    }
    if (runs.first().start != from) {
        return QStringLiteral("the first line %1 starts at pixel %2, not at the edge %3")
            .arg(across)
            .arg(runs.first().start)
            .arg(from);
    }
    QList<int> cells;
    for (qsizetype i = 0; i < runs.size(); ++i) {
        if (runs[i].end - runs[i].start != runs[0].end - runs[0].start) {
            return QStringLiteral("lines %1 are %2 and %3 pixels wide")
                .arg(across)
                .arg(runs[0].end - runs[0].start)
                .arg(runs[i].end - runs[i].start);
        }
        cells << (i + 1 < runs.size() ? runs[i + 1].start : to + 1) - runs[i].end;
    }
    if (lines == 9) { // across: the right edge is framed, no cell after it
        cells.removeLast();
        if (runs.last().end != to + 1) {
            return QStringLiteral("no frame line on the board's right edge");
        }
    }
    const auto [smallest, largest] = std::minmax_element(cells.begin(), cells.end());
    if (*largest - *smallest > 1) {
        return QStringLiteral("cells %1 are %2 to %3 pixels")
            .arg(across)
            .arg(*smallest)
            .arg(*largest);
    }
    return {};
}

// For each pixel along one direction: the cell (1..8) it lies in, 0 on a line.
QList<int> cellIndexes(const QList<Run>& runs, int from, int to) {
    QList<int> index(to - from + 1, 0);
    for (int i = from; i <= to; ++i) {
        int cell = 0;
        for (const Run& run : runs) {
            if (i >= run.end) {
                ++cell;
            } else if (i >= run.start) {
                cell = 0;
                break;
            }
        }
        index[i - from] = cell;
    }
    return index;
}

// Where a bitmap has ink (any pixel not fully transparent), in device pixels
// from the inner corner, at its natural size in device-independent pixels.
QRect inkOnScreen(const QString& file, qreal ratio) {
    static std::map<std::pair<QString, qreal>, QRect> known; // the files never change
    const auto seen = known.find({file, ratio});
    if (seen != known.end()) {
        return seen->second;
    }
    const QImage bitmap = QImage(BitmapFolder::asset(file)).convertToFormat(QImage::Format_ARGB32);
    QRect ink;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            if (qAlpha(bitmap.pixel(x, y)) != 0) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return known[{file, ratio}] = QRect(
               QPoint(int(std::floor(ink.left() * ratio)), int(std::floor(ink.top() * ratio))),
               QPoint(int(std::ceil((ink.right() + 1) * ratio)) - 1,
                      int(std::ceil((ink.bottom() + 1) * ratio)) - 1));
}

// What a square's inner area shows: the bitmap, or "" for none, whose drawing
// at natural size on the square's colour is nearest to its pixels. Drawings
// are kept, one per picture, colour, scale and area size.
class PictureFinder {
public:
    explicit PictureFinder(qreal ratio)
        : ratio_(ratio) {}

    // Trying the likely picture first lets the others stop counting early.
    QString nearest(const QImage& inner, QRgb square, const QString& likely) {
        QString best;
        qint64 bestDistance = std::numeric_limits<qint64>::max();
        for (const QString& name : QStringList{likely, QString()} + AllBitmaps) {
            const qint64 distance =
                distanceBetween(inner, drawn(name, square, inner.size()), bestDistance);
            if (distance < bestDistance) {
                best = name;
                bestDistance = distance;
            }
        }
        return best;
    }

private:
    const QImage& drawn(const QString& name, QRgb square, QSize size) {
        QImage& image = drawings()[{name, square, ratio_, size.width(), size.height()}];
        if (image.isNull()) {
            image = QImage(size, QImage::Format_RGB32);
            image.fill(square);
            if (!name.isEmpty()) {
                const QImage bitmap(BitmapFolder::asset(name));
                QPainter painter(&image);
                painter.setRenderHint(QPainter::SmoothPixmapTransform,
                                      ratio_ != std::floor(ratio_));
                painter.drawImage(QRectF(QPointF(), QSizeF(bitmap.size()) * ratio_), bitmap);
            }
        }
        return image;
    }

    // Stops counting once past `enough`: that picture is not the nearest.
    static qint64 distanceBetween(const QImage& a, const QImage& b, qint64 enough) {
        qint64 distance = 0;
        for (int y = 0; y < a.height() && distance < enough; ++y) {
            const auto* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
            const auto* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
            for (int x = 0; x < a.width(); ++x) {
                distance += std::abs(qRed(p[x]) - qRed(q[x])) +
                            std::abs(qGreen(p[x]) - qGreen(q[x])) +
                            std::abs(qBlue(p[x]) - qBlue(q[x]));
            }
        }
        return distance;
    }

    static std::map<std::tuple<QString, QRgb, qreal, int, int>, QImage>& drawings() {
        static std::map<std::tuple<QString, QRgb, qreal, int, int>, QImage> kept;
        return kept;
    }

    qreal ratio_;
};

QString pictureName(const QString& name) {
    return name.isEmpty() ? QStringLiteral("no picture") : name;
}

bool near(const QRect& a, const QRect& b) {
    return std::abs(a.left() - b.left()) <= 1 && std::abs(a.top() - b.top()) <= 1 &&
           std::abs(a.right() - b.right()) <= 1 && std::abs(a.bottom() - b.bottom()) <= 1;
}

} // namespace

namespace {

// The client area as painted: its device pixels, and which row and column of
// cells each pixel row and column belongs to (0 on a frame line).
struct PaintedBoard {
    QImage image;
    qreal ratio = 1;
    int left = 0, top = 0, right = 0, bottom = 0;
    QList<Run> columns, rows;
    QList<int> colOf, rowOf;

    QPoint cornerOf(int row, int col) const { return {columns[col - 1].end, rows[row - 1].end}; }
};

using Ink = std::map<std::pair<int, int>, QRect>; // from each square's inner corner

// Reads the grid from the window's backing store; "" or why it cannot.
QString readGrid(const frmMain& window, PaintedBoard& board) {
    auto* store = dynamic_cast<QImage*>(window.backingStore()->paintDevice());
    if (store == nullptr) {
        return QStringLiteral("the backing store is not an image");
    }
    board.image = store->convertToFormat(QImage::Format_RGB32);
    board.ratio = window.devicePixelRatioF();
    const QRect logical(window.centralWidget()->mapTo(&window, QPoint()),
                        window.centralWidget()->size());
    // Qt rounds a widget's area to the nearest device pixel.
    board.left = qRound(logical.left() * board.ratio);
    board.top = qRound(logical.top() * board.ratio);
    board.right = qRound((logical.right() + 1) * board.ratio) - 1;
    board.bottom = qRound((logical.bottom() + 1) * board.ratio) - 1;
    // Row 1 and column 8 hold no picture in any position the tests use.
    const int rowOne = int((logical.top() + 28) * board.ratio);
    const int colEight = int((logical.left() + 7 * TestRules::CellStep + 28) * board.ratio);
    board.columns =
        frameRuns(board.image, board.left, board.right, [&](int x) { return QPoint(x, rowOne); });
    board.rows =
        frameRuns(board.image, board.top, board.bottom, [&](int y) { return QPoint(colEight, y); });
    QString fault = gridFault(board.columns, 9, board.left, board.right, QStringLiteral("across"));
    if (fault.isEmpty()) { // the lowest line hidden
        fault = gridFault(board.rows, 8, board.top, board.bottom, QStringLiteral("down"));
    }
    if (fault.isEmpty()) {
        board.colOf = cellIndexes(board.columns, board.left, board.right);
        board.rowOf = cellIndexes(board.rows, board.top, board.bottom);
    }
    return fault;
}

// Every pixel black on a line, its square's colour, or ink where a picture
// may have it; what ink each square shows is gathered into `seen`.
QString pixelFault(const PaintedBoard& board, const ExpectedBoard& expected, const Ink& wanted,
                   Ink& seen) {
    for (int y = board.top; y <= board.bottom; ++y) {
        for (int x = board.left; x <= board.right; ++x) {
            const int row = board.rowOf[y - board.top];
            const int col = board.colOf[x - board.left];
            const QRgb pixel = board.image.pixel(x, y);
            if (row == 0 || col == 0) {
                if (pixel != Frame) {
                    return QStringLiteral("pixel (%1, %2) on a frame line is %3, not black")
                        .arg(x)
                        .arg(y)
                        .arg(QColor(pixel).name());
                }
                continue;
            }
            const QRgb square = TestRules::isGreySquare(row, col) ? Grey : expected.white.rgb();
            if (pixel == square) {
                continue;
            }
            const QPoint corner = board.cornerOf(row, col);
            const auto ink = wanted.find({row, col});
            const QRect allowed = ink == wanted.end()
                                      ? QRect()
                                      : ink->second.translated(corner).adjusted(-1, -1, 1, 1);
            if (!allowed.contains(x, y)) {
                return QStringLiteral(
                           "pixel (%1, %2) in square (%3, %4) is %5, not the square's %6")
                    .arg(x)
                    .arg(y)
                    .arg(row)
                    .arg(col)
                    .arg(QColor(pixel).name(), QColor(square).name());
            }
            seen[{row, col}] |= QRect(x - corner.x(), y - corner.y(), 1, 1);
        }
    }
    return {};
}

// Each square shows the picture expected of it, the nearest of the four.
QString pictureFault(const PaintedBoard& board, const ExpectedBoard& expected) {
    PictureFinder finder(board.ratio);
    for (int row = 1; row <= 8; ++row) {
        for (int col = 1; col <= 8; ++col) {
            const QPoint corner = board.cornerOf(row, col);
            const QPoint end(board.columns[col].start,
                             row < 8 ? board.rows[row].start : board.bottom + 1);
            const QRgb square = TestRules::isGreySquare(row, col) ? Grey : expected.white.rgb();
            const auto wanted = expected.pictures.find({row, col});
            const QString want = wanted == expected.pictures.end() ? QString() : wanted->second;
            const QString seen =
                finder.nearest(board.image.copy(QRect(corner, end - QPoint(1, 1))), square, want);
            if (seen != want) {
                return QStringLiteral("square (%1, %2) shows %3, not %4")
                    .arg(row)
                    .arg(col)
                    .arg(pictureName(seen), pictureName(want));
            }
        }
    }
    return {};
}

// Each picture's ink where its natural size puts it.
QString inkFault(const ExpectedBoard& expected, const Ink& wanted, Ink& seen) {
    for (const auto& [square, file] : expected.pictures) {
        const QRect want = wanted.at(square);
        const QRect got = seen[square];
        if (!near(got, want)) {
            return QStringLiteral("%1 in square (%2, %3) spans %4 × %5 at (%6, %7), not %8 × %9 at "
                                  "(%10, %11)")
                .arg(file)
                .arg(square.first)
                .arg(square.second)
                .arg(got.width())
                .arg(got.height())
                .arg(got.left())
                .arg(got.top())
                .arg(want.width())
                .arg(want.height())
                .arg(want.left())
                .arg(want.top());
        }
    }
    return {};
}

} // namespace

QString boardFaults(const frmMain& window, const ExpectedBoard& expected) {
    PaintedBoard board;
    if (QString fault = readGrid(window, board); !fault.isEmpty()) {
        return fault;
    }
    Ink wanted, seen;
    for (const auto& [square, file] : expected.pictures) {
        wanted[square] = inkOnScreen(file, board.ratio);
    }
    QString fault = pixelFault(board, expected, wanted, seen);
    if (fault.isEmpty()) {
        fault = pictureFault(board, expected);
    }
    return fault.isEmpty() ? inkFault(expected, wanted, seen) : fault;
}
