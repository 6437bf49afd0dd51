#include "settings/ui/NVKeyLayoutSource.h"

#include "core/log/NVLog.h"
#include "platform/linux/XkbKeymap.h"
#include "settings/logic/NVKeyLayout.h"
#include "settings/ui/NVUiCenter.h"

#include <QSocketNotifier>

NVKeyLayoutSource::NVKeyLayoutSource(const char* display, QObject* parent)
    : QObject(parent), x_(XkbKeymap::connect(display))
{
    if (!x_) {
        nv_log("keyboard layout: no X server; keys are named by the environment's default layout");
        nv_set_current_key_layout(NVKeyLayout::fromNames({}));
        nv_ui_center().post(nvUiKeyLayoutChanged, {});
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(x_->fd(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &NVKeyLayoutSource::read);
    publish();
}

NVKeyLayoutSource::~NVKeyLayoutSource() = default;

void NVKeyLayoutSource::read()
{
    const bool changed = x_->takeChanges();
    if (changed)
        publish();
    if (!x_->connected()) {
        // The names stay those of the last keymap read.
        nv_log("keyboard layout: the X server went away");
        notifier_.reset();
        x_.reset();
    }
}

void NVKeyLayoutSource::publish()
{
    auto layout = NVKeyLayout::fromKeymap(x_->keymap(), x_->group());
    nv_log("keyboard layout: %s", layout->name().c_str());
    nv_set_current_key_layout(std::move(layout));
    nv_ui_center().post(nvUiKeyLayoutChanged, {});
}
