#include "core/model/NVGlobalInfo.h"

NVGlobalInfo g_gi{};
int32_t currentAppIndex_kernel = 0;
