// The tablet layout of a model as the settings application reads it, for drawing.
#pragma once

#include "core/device/NVModelTable.h"
#include "core/model/NVTypes.h"

// Reads the model's layout from the resource folder of the store, with the name table
// sized from the default configuration so that each ring's position count is known.
// False (and a message on stderr) when the files hold no configuration or no layout of
// a size for the model; free the layout with free_NVTabletLayout either way.
bool nv_pic_read_tablet_layout(const NVModelInfo& m, NVLayoutTablet* layout);
