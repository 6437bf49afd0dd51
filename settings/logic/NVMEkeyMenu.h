// The multi-function pop-up of the express-key page: its items per device type, and the
// function each item edits.
#pragma once

#include "core/model/NVTypes.h"
#include "settings/logic/NVEkeyText.h"

#include <string>
#include <vector>

struct NVMEkeyRef {
    int mekey = -1; // -1: the item opens no dialog
    int set = 0;
    int func = 0;
};

struct NVMEkeyMenuItem {
    bool separator = false;
    std::string first, second; // shown as "first\t\tsecond"
    NVMEkeyRef target;
};

struct NVMEkeyMenuInput {
    uint32_t devType = 0;
    const NVContextEkeys* context = nullptr;
    const NVLayoutTablet* layout = nullptr;
    int currentMEkey = 0; // the multi-function key shown
    int set = 0;          // the set asked for (key-name list and functions of the last group)
};

// Every item targets the function it shows, so separators and further sets never shift
// the record edited. Nothing for an unknown device or a context without function sets.
std::vector<NVMEkeyMenuItem> nv_mekey_menu(const NVMEkeyMenuInput& in, const NVEkeyNames& names);
// The set the pop-up is filled with when the page loads.
int nv_mekey_initial_set(uint32_t devType, int curEkeyIndex, int hbtnNum, int sbtnNum);
// The record an item edits; null for none or a reference outside the context.
NVEkey* nv_mekey_record(NVContextEkeys& context, const NVMEkeyRef& ref);
