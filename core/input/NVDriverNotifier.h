// What the report dispatcher tells the settings application: the driver side of the
// notification channel, as far as the input path needs it.
#pragma once

#include "core/model/NVTypes.h"

class NVDriverNotifier {
public:
    virtual ~NVDriverNotifier() = default;
    virtual void notifyConfigChanged() = 0;
    // The raw sample of a first contact while a pen display is being calibrated.
    virtual void notifyPenData(const NVPenData* pd) = 0;
    // The set in force of a multi-function key changed.
    virtual void notifyMMEkeyIndexChanged(const NVContextMEkey* mekey, int screenToDisplay) = 0;
};
