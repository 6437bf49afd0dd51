// The simulated adapters are header-only; this unit anchors the library.
#include "platform/sim/FakeDisplays.h"
#include "platform/sim/FakeWorkspace.h"
#include "platform/sim/ManualClock.h"
