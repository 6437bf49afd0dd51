#include "settings/ui/NVKeyScreenshots.h"

#include "settings/logic/NVMainViewState.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVPressViews.h"
#include "settings/ui/VControllerEkeyVal.h"
#include "settings/ui/VControllerNewEkeyVal.h"
#include "settings/ui/ViewController.h"

#include <QApplication>
#include <QPointingDevice>
#include <QTabletEvent>

namespace {

template <class Dialog>
void grab_dialog(QWidget& window, NVEkey record, const QString& file)
{
    Dialog dialog(&window);
    dialog.setPekey(&record);
    dialog.show();
    QCoreApplication::processEvents();
    dialog.grab().save(file);
}

void draw_stroke(ViewPressTest& test)
{
    const QPointingDevice* device = QPointingDevice::primaryPointingDevice();
    for (int i = 0; i <= 40; ++i) {
        const QPointF p(20 + i * 4.5, 150 - i * 2.2);
        const double pressure = 0.05 + i * 0.0235;
        QTabletEvent e(i == 0 ? QEvent::TabletPress : QEvent::TabletMove, device, p, test.mapToGlobal(p), pressure, 0,
                       0, 0, 0, 0, Qt::NoModifier, Qt::LeftButton, Qt::LeftButton);
        QApplication::sendEvent(&test, &e);
    }
}

} // namespace

void nv_key_screenshots(QWidget& window, ViewController& view, const QString& dir, const char* state)
{
    view.clickSwitch(NVTAB_PEN);
    QCoreApplication::processEvents();
    if (auto* test = window.findChild<ViewPressTest*>()) {
        draw_stroke(*test);
        QCoreApplication::processEvents();
        window.grab().save(QString("%1/%2_VCPen_test.png").arg(dir, state));
    }
    const NVContextEkeys& c = g_ui.cfg.contexts[0];
    grab_dialog<VControllerEkeyVal>(window, c.hbtns[0], QString("%1/%2_keyFunction.png").arg(dir, state));
    const NVEkey& multi = c.mekeyNum > 0 ? c.mekeys[0].muxfunc[0].ekeys[0] : c.hbtns[0];
    grab_dialog<VControllerNewEkeyVal>(window, multi, QString("%1/%2_multiFunction.png").arg(dir, state));
}
