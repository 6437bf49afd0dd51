// Figures of the running agent: a simulated tablet draws strokes through the whole agent
// and the agent reports its start time and resident memory.
#pragma once

class SimUsbBus;

// Resident memory of this process in KiB; -1 when unknown.
long nv_resident_kib();

// Sends reports pen reports (hovering and drawing strokes) from device of bus, each
// handled completely before the next.
void nv_self_test_strokes(SimUsbBus& bus, int device, long reports);

// From device of bus: the pen tip down in the middle of the tablet and the first express
// key pressed, both left held.
void nv_self_test_hold(SimUsbBus& bus, int device);
