// The pen page of the main window.
#pragma once

#include "settings/ui/NVSubViewController.h"

class VControllerPen : public NVSubViewController {
    Q_OBJECT
public:
    using NVSubViewController::NVSubViewController;
};
