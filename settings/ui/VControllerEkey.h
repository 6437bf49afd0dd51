// The express-key page of the main window.
#pragma once

#include "settings/ui/NVSubViewController.h"

class VControllerEkey : public NVSubViewController {
    Q_OBJECT
public:
    using NVSubViewController::NVSubViewController;
};
