#include "agent/EventPrinter.h"

EventPrinter::EventPrinter(std::ostream& out, const Clock& clock) : out_(out), lines_(&clock, &out) {}

void EventPrinter::postEvent(const NVWSEvent& event)
{
    lines_.postEvent(event);
    sent();
}

void EventPrinter::postHIDEvent(uint32_t connect, const NVHIDEvent& event)
{
    lines_.postHIDEvent(connect, event);
    sent();
}

uint32_t EventPrinter::connectKeyboard()
{
    return lines_.connectKeyboard();
}

void EventPrinter::disconnectKeyboard(uint32_t connect)
{
    lines_.disconnectKeyboard(connect);
}

void EventPrinter::sent()
{
    lines_.clear();
    out_.flush();
}
