// The pen page's pressure views: the curve of the sensitivity step, the test surface whose
// strokes widen with the pen's pressure, and the bar showing the pressure of the moment.
#pragma once

#include <QImage>
#include <QWidget>

// The curve of a sensitivity step in a black frame.
class ViewPressCurve : public QWidget {
    Q_OBJECT
public:
    explicit ViewPressCurve(QWidget* parent = nullptr);
    void setPressFactor(int32_t factor);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int32_t factor_ = 0;
};

// The pressure bar: a frame filled from the bottom by the value (0 ... 1).
class PressValueView : public QWidget {
    Q_OBJECT
public:
    explicit PressValueView(QWidget* parent = nullptr);
    void setProgressValue(double value);
    double progressValue() const { return value_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double value_ = 0;
};

// The test surface, 220 x 218: while testing, each pen move draws a line from the last
// point whose width follows the pressure (the tablet's maxP units); both points must lie
// strictly inside. Lifting the pen ends the stroke.
class ViewPressTest : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 220;
    static constexpr int kHeight = 218;

    explicit ViewPressTest(QWidget* parent = nullptr);
    void setBTest(bool on) { bTest_ = on; }
    bool bTest() const { return bTest_; }
    void setMaxPressure(uint16_t maxP) { maxP_ = maxP; }
    void clear();
    const QImage& canvas() const { return canvas_; }

signals:
    void pressureChanged(double pressure);
    void strokeEnded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void tabletEvent(QTabletEvent* event) override;

private:
    QImage canvas_;
    bool bTest_ = false;
    uint16_t maxP_ = 0;
    QPointF last_{-1, -1};
};
