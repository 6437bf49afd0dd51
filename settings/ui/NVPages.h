// The page factory of the main window, keyed by the page identifiers ("VCEkey", "VCPen",
// "VCWorkarea", "VCInfo").
#pragma once

#include "settings/ui/NVSubViewController.h"

#include <string_view>

// The express-key, pen and work-area pages: so far an empty page area each.
class VControllerEkey : public NVSubViewController {
    Q_OBJECT
public:
    using NVSubViewController::NVSubViewController;
};

class VControllerPen : public NVSubViewController {
    Q_OBJECT
public:
    using NVSubViewController::NVSubViewController;
};

class VControllerWorkarea : public NVSubViewController {
    Q_OBJECT
public:
    using NVSubViewController::NVSubViewController;
};

// A new page of that identifier, objectName = the identifier; null for an unknown one.
NVSubViewController* nv_instantiate_page(std::string_view identifier, QWidget* parent);
