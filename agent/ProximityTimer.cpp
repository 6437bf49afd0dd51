#include "agent/ProximityTimer.h"

#include "core/input/Clock.h"
#include "platform/linux/UinputWindowSystem.h"

#include <cmath>

ProximityTimer::ProximityTimer(UinputWindowSystem& ws, const Clock& clock) : ws_(ws), clock_(clock)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { fire(); });
}

void ProximityTimer::postEvent(const NVWSEvent& event)
{
    ws_.postEvent(event);
    if (!timer_.isActive())
        arm();
}

void ProximityTimer::postHIDEvent(uint32_t connect, const NVHIDEvent& event)
{
    ws_.postHIDEvent(connect, event);
}

uint32_t ProximityTimer::connectKeyboard()
{
    return ws_.connectKeyboard();
}

void ProximityTimer::disconnectKeyboard(uint32_t connect)
{
    ws_.disconnectKeyboard(connect);
}

void ProximityTimer::arm()
{
    const double deadline = ws_.proximityDeadline();
    if (deadline < 0)
        return;
    const double ms = std::ceil((deadline - clock_.now()) * 1000.0);
    timer_.start(ms > 0 ? static_cast<int>(ms) : 0);
}

void ProximityTimer::fire()
{
    const double deadline = ws_.proximityDeadline();
    if (deadline < 0)
        return;
    if (clock_.now() < deadline)
        arm();
    else
        ws_.checkProximity();
}
