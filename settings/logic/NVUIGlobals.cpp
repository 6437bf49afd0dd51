#include "settings/logic/NVUIGlobals.h"

#include "core/model/NVLayoutAlloc.h"

#include <algorithm>
#include <iterator>

NVUIGlobals g_ui{};
uint8_t g_USER_DEBUG = 0;
bool didNeedUpdate = false;
int32_t currentAppIndex = 0;
int32_t currentMMKeyFuncIndex = 0;

namespace {

// Letters, digits, function keys, editing keys, arrows, then punctuation, in table order.
constexpr KBTable kRows[NV_KBTABLE_ROWS] = {
    {255, "A"},
    {11, "B"},
    {8, "C"},
    {2, "D"},
    {14, "E"},
    {3, "F"},
    {5, "G"},
    {4, "H"},
    {34, "I"},
    {38, "J"},
    {40, "K"},
    {37, "L"},
    {46, "M"},
    {45, "N"},
    {31, "O"},
    {35, "P"},
    {12, "Q"},
    {15, "R"},
    {1, "S"},
    {17, "T"},
    {32, "U"},
    {9, "V"},
    {13, "W"},
    {7, "X"},
    {16, "Y"},
    {6, "Z"},
    {29, "0"},
    {18, "1"},
    {19, "2"},
    {20, "3"},
    {21, "4"},
    {23, "5"},
    {22, "6"},
    {26, "7"},
    {28, "8"},
    {25, "9"},
    {122, "F1"},
    {120, "F2"},
    {99, "F3"},
    {118, "F4"},
    {96, "F5"},
    {97, "F6"},
    {98, "F7"},
    {100, "F8"},
    {101, "F9"},
    {109, "F10"},
    {103, "F11"},
    {111, "F12"},
    {51, "delete"},
    {48, "tab"},
    {36, "return"},
    {53, "esc"},
    {49, "space"},
    {123, "←"},
    {124, "→"},
    {126, "↑"},
    {125, "↓"},
    {41, ";:"},
    {24, "=+"},
    {27, "-_"},
    {43, ",<"},
    {47, ".>"},
    {44, "/?"},
    {50, "`~"},
    {33, "[{"},
    {30, "]}"},
    {42, "\\|"},
    {39, "'\""},
};

} // namespace

void nv_fill_kbTable(KBTable (&table)[NV_KBTABLE_ROWS])
{
    std::copy(std::begin(kRows), std::end(kRows), table);
}

void nv_ui_globals_init()
{
    g_USER_DEBUG = 0;
    nv_fill_kbTable(g_ui.kbTable);
}

void nv_ui_globals_free()
{
    free_NVDevCfg(&g_ui.cfg, &g_ui.ti);
    free_NVPenLayout(&g_ui.penLayout);
    free_NVTabletLayout(&g_ui.tabletLayout);
}
