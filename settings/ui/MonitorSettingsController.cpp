#include "settings/ui/MonitorSettingsController.h"

#include "core/log/NVLog.h"
#include "settings/logic/NVUserDefaults.h"
#include "settings/ui/NVDrmDisplaySource.h"
#include "settings/ui/NVOutlet.h"
#include "settings/ui/NVScreens.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSlider>

#include <algorithm>
#include <array>
#include <initializer_list>

namespace {

NVDdcDisplaySource* g_source = nullptr;

QSlider* slider(const char* outlet, const char* key)
{
    auto* s = nv_outlet(new QSlider(Qt::Horizontal), outlet, qtTrId(key));
    s->setRange(0, 100);
    s->setValue(50);
    return s;
}

QPushButton* button(const char* outlet, const char* key)
{
    return nv_outlet(new QPushButton(qtTrId(key)), outlet, qtTrId(key));
}

// Runs f on the page's thread, unless the page is gone by then.
template <class F>
void on_page(MonitorSettingsController* page, F f)
{
    QMetaObject::invokeMethod(page, std::move(f), Qt::QueuedConnection);
}

} // namespace

void MonitorSettingsController::setDisplaySource(NVDdcDisplaySource* source)
{
    g_source = source;
}

MonitorSettingsController::MonitorSettingsController(QWidget* parent) : QWidget(parent)
{
    source_ = g_source;
    if (!source_) {
        ownSource_ = std::make_unique<NVDrmDisplaySource>(nv_open_display_source());
        source_ = ownSource_.get();
    }

    displayChooser = nv_outlet(new QComboBox, "displayChooser", qtTrId("monitorDisplay"));
    brightnessSlider = slider("brightnessSlider", "monitorBrightness");
    contrastSlider = slider("contrastSlider", "monitorContrast");
    redSlider = slider("redSlider", "monitorRed");
    greenSlider = slider("greenSlider", "monitorGreen");
    blueSlider = slider("blueSlider", "monitorBlue");
    btn6500K = button("btn6500K", "monitor6500K");
    btn9300K = button("btn9300K", "monitor9300K");
    btnUser = button("btnUser", "monitorUser");
    btnReset = button("btnReset", "monitorReset");
    btnInfo = button("btnInfo", "monitorInfo");
    labelNoAnswer = nv_outlet(new QLabel(qtTrId("monitorNoAnswer")), "labelNoAnswer", qtTrId("monitorNoAnswer"));
    labelNoAnswer->setStyleSheet("color: #b03020;");
    labelNoAnswer->setWordWrap(true);
    labelNoAnswer->hide();

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(30, 20, 30, 20);
    grid->setVerticalSpacing(12);
    int row = 0;
    auto label = [&](const char* key) { return new QLabel(qtTrId(key)); };
    grid->addWidget(label("monitorDisplay"), row, 0);
    grid->addWidget(displayChooser, row++, 1, 1, 3);
    grid->addWidget(label("monitorBrightness"), row, 0);
    grid->addWidget(brightnessSlider, row++, 1, 1, 3);
    grid->addWidget(label("monitorContrast"), row, 0);
    grid->addWidget(contrastSlider, row++, 1, 1, 3);
    grid->addWidget(label("monitorColorTemperature"), row, 0);
    grid->addWidget(btn6500K, row, 1);
    grid->addWidget(btn9300K, row, 2);
    grid->addWidget(btnUser, row++, 3);
    grid->addWidget(label("monitorRed"), row, 0);
    grid->addWidget(redSlider, row++, 1, 1, 3);
    grid->addWidget(label("monitorGreen"), row, 0);
    grid->addWidget(greenSlider, row++, 1, 1, 3);
    grid->addWidget(label("monitorBlue"), row, 0);
    grid->addWidget(blueSlider, row++, 1, 1, 3);
    grid->addWidget(labelNoAnswer, row++, 0, 1, 4);
    // A grid with unequal spacings hands a nested layout none, and the two buttons would touch.
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch(1);
    buttons->addWidget(btnInfo);
    buttons->addWidget(btnReset);
    grid->addLayout(buttons, row++, 0, 1, 4);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(3, 1);

    connect(displayChooser, &QComboBox::currentIndexChanged, this, &MonitorSettingsController::chooserChanged);
    connect(brightnessSlider, &QSlider::valueChanged, this, [this](int v) { write(NVVCP_BRIGHTNESS, v); });
    connect(contrastSlider, &QSlider::valueChanged, this, [this](int v) { write(NVVCP_CONTRAST, v); });
    connect(redSlider, &QSlider::valueChanged, this, [this](int v) { write(NVVCP_RED_GAIN, v); });
    connect(greenSlider, &QSlider::valueChanged, this, [this](int v) { write(NVVCP_GREEN_GAIN, v); });
    connect(blueSlider, &QSlider::valueChanged, this, [this](int v) { write(NVVCP_BLUE_GAIN, v); });
    connect(btn6500K, &QPushButton::clicked, this, [this] { setPreset(nvPreset6500K, false); });
    connect(btn9300K, &QPushButton::clicked, this, [this] { setPreset(nvPreset9300K, false); });
    connect(btnUser, &QPushButton::clicked, this, [this] { setPreset(nvPresetUser, true); });
    connect(btnReset, &QPushButton::clicked, this, [this] {
        QPointer<MonitorSettingsController> self(this);
        control_->reset([self](bool ok) { on_page(self, [self, ok] { self->answered(ok); }); });
    });
    connect(btnInfo, &QPushButton::clicked, this, &MonitorSettingsController::logMonitorInfo);

    listDisplays();
    source_->setChangeHandler([this] { listDisplays(); });
}

MonitorSettingsController::~MonitorSettingsController()
{
    source_->setChangeHandler({});
}

void MonitorSettingsController::listDisplays()
{
    auto fresh = std::make_unique<DDCCIControl>(*source_);
    const int count = fresh->getDisplays();
    if (control_ && fresh->displays() == control_->displays())
        return;
    // The old displays' queues finish the request under way and drop the rest.
    control_ = std::move(fresh);
    gainsEnabled_ = false;
    {
        const QSignalBlocker quiet(displayChooser);
        displayChooser->clear();
        if (count == 0)
            displayChooser->addItem(qtTrId("monitorNoDisplay"));
        for (int i = 0; i < count; ++i)
            displayChooser->addItem(QString::fromStdString(
                nv_display_chooser_title(i + 1, control_->displays()[static_cast<size_t>(i)].screenName)));
        displayChooser->setCurrentIndex(std::max(count - 1, 0));
    }
    control_->currentDisplayID = count - 1;
    labelNoAnswer->hide();
    enableControls();
    if (count > 0)
        chooserChanged(count - 1);
}

void MonitorSettingsController::enableControls()
{
    const DDCDisplay* display = control_->getCurrentDisplay();
    const bool reachable = display && display->bus >= 0;
    for (QWidget* w : std::initializer_list<QWidget*>{brightnessSlider, contrastSlider, btn6500K, btn9300K, btnUser,
                                                      btnReset, btnInfo})
        w->setEnabled(reachable);
    for (QSlider* s : {redSlider, greenSlider, blueSlider})
        s->setEnabled(reachable && gainsEnabled_);
}

bool MonitorSettingsController::displayNotAnswering() const
{
    return !labelNoAnswer->isHidden();
}

void MonitorSettingsController::chooserChanged(int index)
{
    if (index < 0 || index >= static_cast<int>(control_->displays().size()))
        return;
    control_->currentDisplayID = index;
    enableControls();
    // A display without DDC lines cannot be asked.
    if (control_->getCurrentDisplay()->bus < 0) {
        labelNoAnswer->show();
        return;
    }
    labelNoAnswer->hide();
    readInto(NVVCP_BRIGHTNESS, brightnessSlider);
    readInto(NVVCP_CONTRAST, contrastSlider);
    applyMonitorSpecifics();
}

void MonitorSettingsController::applyMonitorSpecifics()
{
    const DDCDisplay* display = control_->getCurrentDisplay();
    if (!display)
        return;
    const bool onRelease = NVUserDefaults(nvSuiteNuvroTablet).boolValue(nv_continuous_effects_key(display->seriaNumber));
    brightnessSlider->setTracking(!onRelease);
    contrastSlider->setTracking(!onRelease);
}

void MonitorSettingsController::readInto(uint8_t vcp, QSlider* target)
{
    QPointer<QSlider> s(target);
    QPointer<MonitorSettingsController> self(this);
    control_->read(vcp, [self, s, vcp](const NVDdcResult& r) {
        on_page(self, [self, s, r, vcp] {
            if (r.status == NVDdcStatus::Ok && s) {
                const QSignalBlocker quiet(s);
                s->setValue(r.currentValue);
            }
            nv_log(vcp == NVVCP_BRIGHTNESS ? "brightness:%d" : "contrast:%d", r.currentValue);
            self->answered(r.status == NVDdcStatus::Ok);
        });
    });
}

void MonitorSettingsController::write(uint8_t vcp, int value)
{
    if (vcp == NVVCP_BRIGHTNESS)
        nv_log("setBrightness:%d", value);
    else if (vcp == NVVCP_CONTRAST)
        nv_log("setContrast:%d", value);
    else
        nv_log("setRGBGain:%d", value);
    QPointer<MonitorSettingsController> self(this);
    control_->write(vcp, static_cast<uint8_t>(value), [self](bool ok) { on_page(self, [self, ok] { self->answered(ok); }); });
}

void MonitorSettingsController::setPreset(uint8_t preset, bool gainsEnabled)
{
    QPointer<MonitorSettingsController> self(this);
    control_->write(NVVCP_COLOR_PRESET, preset, [self](bool ok) { on_page(self, [self, ok] { self->answered(ok); }); });
    gainsEnabled_ = gainsEnabled;
    enableControls();
}

void MonitorSettingsController::logMonitorInfo()
{
    constexpr std::array<uint8_t, 6> codes = {NVVCP_BRIGHTNESS, NVVCP_CONTRAST, NVVCP_COLOR_PRESET,
                                              NVVCP_RED_GAIN,   NVVCP_GREEN_GAIN, NVVCP_BLUE_GAIN};
    auto values = std::make_shared<std::array<int, 6>>();
    QPointer<MonitorSettingsController> self(this);
    for (size_t i = 0; i < codes.size(); ++i)
        control_->read(codes[i], [self, values, i](const NVDdcResult& r) {
            (*values)[i] = r.currentValue;
            if (i + 1 < values->size())
                return;
            nv_log("brightness:%d contrast:%d colorTemperature:%x,RGB: %d %d %d\n", (*values)[0], (*values)[1],
                   (*values)[2], (*values)[3], (*values)[4], (*values)[5]);
            on_page(self, [self] { emit self->requestFinished(); });
        });
}

void MonitorSettingsController::answered(bool ok)
{
    labelNoAnswer->setVisible(!ok);
    emit requestFinished();
}
