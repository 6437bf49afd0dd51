// The monitor page of the preferences window: brightness, contrast, colour preset and
// red/green/blue gains of a display over DDC/CI. Requests run off the window's thread; a
// display that does not answer is said so, and the page stays usable.
#pragma once

#include "settings/logic/DDCCIControl.h"

#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

class MonitorSettingsController : public QWidget {
    Q_OBJECT
public:
    // Pages made while set take their displays from source (tests); null restores the
    // kernel's DRM connectors.
    static void setDisplaySource(NVDdcDisplaySource* source);

    explicit MonitorSettingsController(QWidget* parent = nullptr);
    ~MonitorSettingsController() override;

    DDCCIControl& control() { return *control_; }
    // The display did not answer the last request, or answered nonsense.
    bool displayNotAnswering() const;

signals:
    // A reply or a write's outcome reached the page.
    void requestFinished();

private:
    void chooserChanged(int index);
    void applyMonitorSpecifics();
    void readInto(uint8_t vcp, QSlider* slider);
    void write(uint8_t vcp, int value);
    void setPreset(uint8_t preset, bool gainsEnabled);
    void logMonitorInfo();
    // On the window's thread: shows or clears the "does not answer" line.
    void answered(bool ok);

    std::unique_ptr<NVDdcDisplaySource> ownSource_;
    std::unique_ptr<DDCCIControl> control_;
    QComboBox* displayChooser;
    QSlider* brightnessSlider;
    QSlider* contrastSlider;
    QSlider* redSlider;
    QSlider* greenSlider;
    QSlider* blueSlider;
    QPushButton* btn6500K;
    QPushButton* btn9300K;
    QPushButton* btnUser;
    QPushButton* btnReset;
    QPushButton* btnInfo;
    QLabel* labelNoAnswer;
};
