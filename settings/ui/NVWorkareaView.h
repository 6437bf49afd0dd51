// The work-area page's drawing: the screen snapshot above the tablet picture (turned with
// the tablet), the work area framed on it with lines to the snapshot's corners, and the
// drag bands. Rectangles are kept in the page's view coordinates (origin bottom-left);
// the arithmetic is in settings/logic.
#pragma once

#include "settings/logic/NVWorkareaGeometry.h"

#include <QImage>
#include <QWidget>

class NVWorkareaView : public QWidget {
    Q_OBJECT
public:
    explicit NVWorkareaView(QWidget* parent = nullptr);

    // Where the snapshot and the tablet picture may go, in view coordinates.
    NVViewRect screenFrame() const;
    NVViewRect tabletFrame() const;

    void setSnapshot(const QImage& image, const NVViewRect& rect);
    // The tablet picture unturned, and its turn in degrees clockwise.
    void setTablet(const QImage& picture, int clockwiseTurn);
    void setRects(const NVViewRect& picture, const NVViewRect& penArea, const NVViewRect& workarea);

    const NVViewRect& workareaRect() const { return workarea_; }
    const NVViewRect& snapshotRect() const { return snapshotRect_; }
    const NVDragBands& bands() const { return bands_; }
    // A view point as the widget's own pixel position.
    QPointF toWidget(NVViewPoint p) const;

signals:
    // The rectangle to store as the work area.
    void didChangeWorkArea(const NVViewRect& rect);
    void framesChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    NVViewPoint toView(const QPointF& p) const;
    QRectF toWidget(const NVViewRect& r) const;
    void showCursor(const NVDragBands& bands);

    QImage snapshot_;
    NVViewRect snapshotRect_{};
    QImage tablet_;
    int tabletTurn_ = 0;
    NVViewRect picture_{};
    NVViewRect penArea_{};
    NVViewRect workarea_{};
    NVDragBands bands_;
    bool dragged_ = false;
};
