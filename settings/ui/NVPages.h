// The page factory of the main window, keyed by the page identifiers ("VCEkey", "VCPen",
// "VCWorkarea", "VCInfo").
#pragma once

#include "settings/ui/NVSubViewController.h"

#include <string_view>

// A new page of that identifier, objectName = the identifier; null for an unknown one.
NVSubViewController* nv_instantiate_page(std::string_view identifier, QWidget* parent);
