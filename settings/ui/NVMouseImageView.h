// The tablet picture of the express-key page: pointing at a key shows its function, a
// click locks the selection on a key, a click beside every key unlocks it. A grey line runs
// from the key shown to the value button.
#pragma once

#include "settings/logic/NVEkeyPicture.h"

#include <QPixmap>
#include <QWidget>

#include <vector>

class NVMouseImageView : public QWidget {
    Q_OBJECT
public:
    explicit NVMouseImageView(QWidget* parent = nullptr);

    // The picture and the layout of its keys; the picture fills `area` of the view, scaled
    // down to fit and centred.
    void setPicture(const QPixmap& picture, const NVLayoutTablet* layout);
    void setPictureArea(const QRect& area);
    void setEndPoint(const QPoint& p);

    int curEkeyIndex() const { return _curEkeyIndex; }
    bool isLocked() const { return _bEkeyLocked; }
    const std::vector<NVEkeyView>& keys() const { return keys_; }
    // Where a key's anchor lies in the view.
    QPoint anchorOf(int index) const;

signals:
    // The key shown changed (by pointing or by a click).
    void curEkeyChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void relayout();
    void show(int index);

    QPixmap picture_;
    const NVLayoutTablet* layout_ = nullptr;
    QRect area_;
    QRect _imgRect;
    std::vector<NVEkeyView> keys_;
    int _curEkeyIndex = 0;
    bool _bEkeyLocked = false;
    QPoint _endPoint;
};
