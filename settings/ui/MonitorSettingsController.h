// The monitor page of the preferences window: brightness, contrast, colour preset and
// red/green/blue gains of a display over DDC/CI. Requests run off the window's thread; a
// display that does not answer is said so, and the page stays usable. The displays follow
// the desktop's.
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
    // desktop's displays on the kernel's DRM connectors.
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
    // Lists the source's displays anew when they differ from those shown, starting on the
    // last one.
    void listDisplays();
    void chooserChanged(int index);
    // Controls reach only a display with a DDC bus; the gains only in the user preset.
    void enableControls();
    void applyMonitorSpecifics();
    void readInto(uint8_t vcp, QSlider* slider);
    void write(uint8_t vcp, int value);
    void setPreset(uint8_t preset, bool gainsEnabled);
    void logMonitorInfo();
    // On the window's thread: shows or clears the "does not answer" line.
    void answered(bool ok);

    std::unique_ptr<NVDdcDisplaySource> ownSource_;
    NVDdcDisplaySource* source_;
    std::unique_ptr<DDCCIControl> control_;
    bool gainsEnabled_ = false;
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
