// The work-area page of the main window.
#pragma once

#include "settings/ui/NVSubViewController.h"

class VControllerWorkarea : public NVSubViewController {
    Q_OBJECT
public:
    using NVSubViewController::NVSubViewController;
};
