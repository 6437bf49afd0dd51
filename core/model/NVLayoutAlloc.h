// Allocation of the layout records, the only records that own heap memory.
// Every pointer freed is reset to null; freeing a null or zeroed record does nothing.
#pragma once

#include "core/model/NVTypes.h"

// Frees the layout, then (n > 0) allocates n zeroed key layouts and one name table per
// multi-function key of context 0 of cfg. The counts allocated are recorded in the layout.
void realloc_NVTabletLayout(uint32_t n, const NVConfig* cfg, NVLayoutTablet* layout);
void free_NVTabletLayout(NVLayoutTablet* layout);

void realloc_NVPenLayout(uint32_t n, NVLayoutPen* layout);
void free_NVPenLayout(NVLayoutPen* layout);

// Resets the whole configuration to zero bytes; NVConfig owns no heap memory.
void free_NVDevCfg(NVConfig* cfg, const NVTabletInfo* ti);
