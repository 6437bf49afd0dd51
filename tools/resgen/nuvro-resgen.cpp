// Writes config_default.xml, layout_tablet.xml and layout_pen.xml for every model of the
// model table into the folder given as the only argument.
#include "core/config/NVLeafText.h"
#include "core/config/NVXmlDoc.h"
#include "core/device/NVModelTable.h"
#include "core/model/NVEkeyFunc.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct KeyFunction {
    const char* id; // preset name
    uint32_t ekType;
    const char* name;
    uint8_t ctrl, alt, shift, win;
    std::vector<int> keys; // macOS virtual key codes
};

// Named key functions shared by every model.
const std::vector<KeyFunction> kPresets = {
    {"None", 0, "None", 0, 0, 0, 0, {}},
    {"MouseLeft", NVEKT_MOUSE_LEFT, "Left Click", 0, 0, 0, 0, {}},
    {"MouseRight", NVEKT_MOUSE_RIGHT, "Right Click", 0, 0, 0, 0, {}},
    {"MouseMiddle", NVEKT_MOUSE_MID, "Middle Click", 0, 0, 0, 0, {}},
    {"ScrollForward", NVEKT_MOUSE_FORWARD, "Scroll Forward", 0, 0, 0, 0, {}},
    {"ScrollBackward", NVEKT_MOUSE_BACKWARD, "Scroll Backward", 0, 0, 0, 0, {}},
    {"SwitchScreen", NVEKT_SWITCH_SCREEN, "Switch Display", 0, 0, 0, 0, {}},
    {"SwitchBrush", NVEKT_SWITCH_BRUSH, "Pen/Eraser", 0, 0, 0, 0, {}},
    {"SwitchMuxFunc", NVEKT_SWITCH_MUXFUNC, "Next Function Set", 0, 0, 0, 0, {}},
    {"Undo", NVEKT_KBTN, "Undo", 0, 0, 0, 1, {6}},
    {"Redo", NVEKT_KBTN, "Redo", 0, 0, 1, 1, {6}},
    {"Copy", NVEKT_KBTN, "Copy", 0, 0, 0, 1, {8}},
    {"Paste", NVEKT_KBTN, "Paste", 0, 0, 0, 1, {9}},
    {"Cut", NVEKT_KBTN, "Cut", 0, 0, 0, 1, {7}},
    {"Save", NVEKT_KBTN, "Save", 0, 0, 0, 1, {1}},
    {"SelectAll", NVEKT_KBTN, "Select All", 0, 0, 0, 1, {255}},
    {"ZoomIn", NVEKT_KBTN, "Zoom In", 0, 0, 0, 1, {24}},
    {"ZoomOut", NVEKT_KBTN, "Zoom Out", 0, 0, 0, 1, {27}},
    {"BrushBigger", NVEKT_KBTN, "Brush Bigger", 0, 0, 0, 0, {30}},
    {"BrushSmaller", NVEKT_KBTN, "Brush Smaller", 0, 0, 0, 0, {33}},
    {"Space", NVEKT_KBTN, "Pan", 0, 0, 0, 0, {49}},
    {"Ctrl", NVEKT_KBTN, "Ctrl", 1, 0, 0, 0, {}},
    {"Alt", NVEKT_KBTN, "Option", 0, 1, 0, 0, {}},
    {"Shift", NVEKT_KBTN, "Shift", 0, 0, 1, 0, {}},
    {"Cmd", NVEKT_KBTN, "Command", 0, 0, 0, 1, {}},
    {"Tab", NVEKT_KBTN, "Tab", 0, 0, 0, 0, {48}},
    {"Escape", NVEKT_KBTN, "Esc", 0, 0, 0, 0, {53}},
    {"Enter", NVEKT_KBTN, "Enter", 0, 0, 0, 0, {36}},
    {"Delete", NVEKT_KBTN, "Delete", 0, 0, 0, 0, {51}},
};

// What the keys of each collection do out of the box, by key index (repeating).
const std::vector<const char*> kHardKeys = {"Ctrl", "Alt", "Shift", "Space", "BrushBigger", "BrushSmaller",
                                            "Undo", "Redo", "ZoomIn", "ZoomOut", "Cmd", "Tab",
                                            "Save", "Escape", "Copy", "Paste"};
const std::vector<const char*> kSoftKeys = {"Undo", "Redo", "Copy", "Paste", "Cut", "Save", "SelectAll", "ZoomIn",
                                            "ZoomOut", "BrushBigger", "BrushSmaller", "Space", "Tab", "Escape",
                                            "Enter", "Delete"};
// The pen tip, the lower barrel button, the upper one.
const std::vector<const char*> kPenKeys = {"MouseLeft", "MouseRight", "MouseMiddle", "SwitchBrush"};
// Position functions of the function sets: sets of two positions, and the sets of keys
// with more positions, whose first position steps to the next set.
const std::vector<std::vector<const char*>> kPairSets = {
    {"ZoomIn", "ZoomOut"}, {"BrushBigger", "BrushSmaller"}, {"ScrollForward", "ScrollBackward"}, {"Undo", "Redo"}};
const std::vector<const char*> kRingKeys = {"ZoomIn", "ZoomOut", "BrushBigger", "BrushSmaller", "Undo",
                                            "Redo", "ScrollForward", "ScrollBackward", "Ctrl", "Alt",
                                            "Shift", "Space", "Copy", "Paste", "Save"};

// The word before a position number in each language element.
const std::vector<std::pair<const char*, const char*>> kPositionWord = {
    {"english", "Key"},     {"chinese", "按键"},   {"japanese", "キー"}, {"german", "Taste"},
    {"russian", "Клавиша"}, {"itailian", "Tasto"}, {"spanish", "Tecla"}, {"portugal", "Tecla"},
    {"poland", "Klawisz"},  {"arab", "مفتاح"},
};

const std::vector<std::pair<const char*, std::string>> kDeviceDefaults = {
    {"bEnableHBtn", "1"},          {"bEnableSBtn", "1"},          {"bEnableMBtn", "1"},
    {"bCtrlCursor", "1"},          {"bCalibrated", "0"},          {"curScreenIndex", "0"},
    {"pressFactor", "0"},          {"rotateAngle", "0"},          {"workareaLeft", nv_format_float(0.0f)},
    {"workareaTop", nv_format_float(0.0f)}, {"workareaRight", nv_format_float(1.0f)},
    {"workareaBottom", nv_format_float(1.0f)}, {"bImproveLinearity", "0"}, {"bAbsoluteMode", "1"},
    {"calibrateFactor0", "65536"}, {"calibrateFactor1", "0"},     {"calibrateFactor2", "0"},
    {"calibrateFactor3", "0"},     {"calibrateFactor4", "65536"}, {"calibrateFactor5", "0"},
    {"calibrateFactor6", "65536"},
};

class Builder {
public:
    explicit Builder(const char* root) : doc_(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")))
    {
        xmlDocSetRootElement(doc_.get(), nv_xml_new_element(doc_.get(), root, nullptr));
    }
    xmlNode* root() { return xmlDocGetRootElement(doc_.get()); }
    xmlNode* add(xmlNode* parent, const std::string& name)
    {
        return xmlAddChild(parent, nv_xml_new_element(doc_.get(), name, nullptr));
    }
    xmlNode* add(xmlNode* parent, const std::string& name, const std::string& text)
    {
        return xmlAddChild(parent, nv_xml_new_element(doc_.get(), name, &text));
    }
    xmlNode* add(xmlNode* parent, const std::string& name, int value)
    {
        return add(parent, name, nv_format_int(value));
    }
    bool save(const std::filesystem::path& p) { return nv_write_file_atomic(p, nv_xml_serialise(doc_.get())); }

private:
    NVXmlDocPtr doc_;
};

std::string at(const char* name, int i)
{
    return name + std::to_string(i);
}

void add_function(Builder& b, xmlNode* node, const KeyFunction& f)
{
    b.add(node, "ekType", static_cast<int>(f.ekType));
    b.add(node, "name", f.name);
    b.add(node, "cmdPath", "");
    xmlNode* kbtn = b.add(node, "kbtn");
    b.add(kbtn, "bAlt", f.alt);
    b.add(kbtn, "bCtrl", f.ctrl);
    b.add(kbtn, "bShift", f.shift);
    b.add(kbtn, "bWin", f.win);
    for (int i = 0; i < 16; ++i)
        b.add(kbtn, at("kbkey", i), i < static_cast<int>(f.keys.size()) ? f.keys[i] : 0);
}

const KeyFunction& preset(const char* id)
{
    return *std::find_if(kPresets.begin(), kPresets.end(), [&](const KeyFunction& f) { return std::string(f.id) == id; });
}

void add_reference(Builder& b, xmlNode* parent, const std::string& name, const char* id)
{
    b.add(b.add(parent, name), "EKID", id);
}

// Position k of set f of a key of more than two positions: each set starts further
// along the list (by one where one set takes the whole list), so that the sets differ.
const char* ring_function(int positions, int f, int k)
{
    if (k == 0)
        return "SwitchMuxFunc";
    const size_t functions = static_cast<size_t>(positions - 1);
    const size_t step = functions < kRingKeys.size() ? functions : 1;
    return kRingKeys[(static_cast<size_t>(f) * step + static_cast<size_t>(k) - 1) % kRingKeys.size()];
}

void build_preset(Builder& b, xmlNode* presets)
{
    xmlNode* other = b.add(presets, "Other");
    for (const auto& [leaf, value] : kDeviceDefaults)
        b.add(other, leaf, value);
    for (const KeyFunction& f : kPresets)
        add_function(b, b.add(presets, f.id), f);
    const std::pair<const char*, const std::vector<const char*>*> groups[] = {
        {"HKey", &kHardKeys}, {"SKey", &kSoftKeys}, {"PKey", &kPenKeys}};
    for (const auto& [group, keys] : groups) {
        xmlNode* g = b.add(presets, group);
        for (int d = 0; d < 16; ++d)
            add_reference(b, g, at("ekey", d), (*keys)[d % keys->size()]);
    }
    for (size_t s = 0; s < kPairSets.size(); ++s) {
        xmlNode* set = b.add(presets, at("MuxPair", static_cast<int>(s)));
        for (int k = 0; k < 2; ++k)
            add_reference(b, set, at("ekey", k), kPairSets[s][k]);
    }
}

void build_mekeys(Builder& b, xmlNode* context, const NVModelInfo& m)
{
    xmlNode* mekeys = b.add(context, "mekeys");
    b.add(mekeys, "num", m.mekeyNum);
    for (int j = 0; j < m.mekeyNum; ++j) {
        const int positions = m.mekeyPositions[j];
        xmlNode* key = b.add(mekeys, at("mekey", j));
        b.add(key, "num", positions);
        b.add(key, "muxFuncNum", m.mekeySets[j]);
        b.add(key, "index", 0);
        if (positions == 2) {
            for (int f = 0; f < m.mekeySets[j]; ++f)
                b.add(b.add(key, at("muxfunc", f)), "ID", at("MuxPair", f));
        } else {
            for (int f = 0; f < std::max<int>(m.mekeySets[j], 1); ++f) {
                xmlNode* set = b.add(key, at("muxfunc", f));
                for (int k = 0; k < positions; ++k)
                    add_reference(b, set, at("ekey", k), ring_function(positions, f, k));
            }
        }
    }
}

void build_model_config(Builder& b, const NVModelInfo& m)
{
    xmlNode* def = b.add(b.add(b.root(), m.identity), "Default");
    b.add(def, "appPath", "Default");
    for (const auto& [leaf, value] : kDeviceDefaults) {
        // A model without a soft-key strip has nothing for the switch to turn on.
        const bool strip = std::string_view(leaf) == "bEnableSBtn";
        b.add(def, leaf, strip ? nv_format_int(m.sbtnNum > 0) : value);
    }
    xmlNode* hbtns = b.add(def, "hbtns");
    for (int d = 0; d < m.hbtnNum; ++d)
        add_reference(b, hbtns, at("ekey", d), kHardKeys[d % kHardKeys.size()]);
    xmlNode* sbtns = b.add(def, "sbtns");
    for (int d = 0; d < m.sbtnNum; ++d)
        add_reference(b, sbtns, at("ekey", d), kSoftKeys[d % kSoftKeys.size()]);
    // Pen buttons are full nodes, so that both node forms ship with every model: the tip
    // at 0, then each barrel button.
    xmlNode* pbtns = b.add(def, "pbtns");
    for (int d = 0; d <= m.pbtnNum; ++d)
        add_function(b, b.add(pbtns, at("ekey", d)), preset(kPenKeys[d % kPenKeys.size()]));
    build_mekeys(b, def, m);
}

void add_rect(Builder& b, xmlNode* n, int l, int t, int r, int bottom, const char* prefix = "")
{
    b.add(n, std::string(prefix) + "Left", l);
    b.add(n, std::string(prefix) + "Top", t);
    b.add(n, std::string(prefix) + "Right", r);
    b.add(n, std::string(prefix) + "Bottom", bottom);
}

void add_key(Builder& b, xmlNode* n, int l, int t, int r, int bottom)
{
    add_rect(b, n, l, t, r, bottom);
    b.add(n, "CenterX", (l + r) / 2);
    b.add(n, "CenterY", (t + bottom) / 2);
}

// Picture: keys in a column left of the active area, the soft-key strip along its top,
// the multi-function keys below the hard keys.
void build_model_layout(Builder& b, const NVModelInfo& m)
{
    xmlNode* n = b.add(b.root(), m.identity);
    const int height = 620;
    const int width = 160 + static_cast<int>(int64_t{m.maxX} * 560 / std::max<uint32_t>(m.maxY, 1));
    b.add(n, "HBtnNum", m.hbtnNum);
    b.add(n, "SBtnNum", m.sbtnNum);
    b.add(n, "MEKeyNum", m.mekeyNum);
    xmlNode* size = b.add(n, "Size");
    b.add(size, "Width", width);
    b.add(size, "Height", height);
    const int waLeft = 140, waTop = 30, waRight = width - 20, waBottom = height - 30;
    add_rect(b, b.add(n, "Workarea"), waLeft, waTop, waRight, waBottom);
    const int keyH = m.hbtnNum ? std::min(40, 300 / m.hbtnNum) : 0;
    for (int d = 0; d < m.hbtnNum; ++d)
        add_key(b, b.add(n, at("HBtn", d)), 30, 30 + d * keyH, 110, 30 + (d + 1) * keyH - 4);
    if (m.sbtnNum > 0) {
        add_rect(b, b.add(n, "SBtnInRect"), waLeft, waTop + 40, waRight, waBottom);
        const int w = (waRight - waLeft) / m.sbtnNum;
        for (int d = 0; d < m.sbtnNum; ++d)
            add_key(b, b.add(n, at("SBtn", d)), waLeft + d * w, waTop, waLeft + (d + 1) * w - 2, waTop + 36);
    }
    for (int d = 0; d < m.mekeyNum; ++d) {
        xmlNode* key = b.add(n, at("MEKey", d));
        const int top = 360 + d * 120;
        add_key(b, key, 20, top, 120, top + 100);
        add_rect(b, key, 45, top + 25, 95, top + 75, "In");
        b.add(key, "num", m.mekeyPositions[d]);
        for (int k = 0; k < m.mekeyPositions[d]; ++k) {
            xmlNode* names = b.add(b.add(key, at("ekey", k)), "name");
            for (const auto& [language, word] : kPositionWord)
                b.add(names, language, std::string(word) + " " + std::to_string(k + 1));
        }
    }
}

// Button 0 is the tip at the bottom of the picture; the barrel buttons go up from it.
void build_pens(Builder& b)
{
    std::map<std::string, int> barrel;
    for (auto list : {nv_maker_models(), nv_oem_models()})
        for (const NVModelInfo& m : list)
            barrel[m.penNode] = std::max<int>(barrel[m.penNode], m.pbtnNum);
    barrel.try_emplace(NV_PEN_STANDARD, 2);
    for (const auto& [pen, count] : barrel) {
        xmlNode* n = b.add(b.root(), pen);
        b.add(n, "BtnNum", count + 1);
        xmlNode* size = b.add(n, "Size");
        b.add(size, "Width", 120);
        b.add(size, "Height", 900);
        add_key(b, b.add(n, "Btn0"), 45, 840, 75, 895);
        for (int d = 1; d <= count; ++d)
            add_key(b, b.add(n, at("Btn", d)), 40, 560 - d * 90, 80, 630 - d * 90);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: nuvro-resgen OUTPUT_FOLDER\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(out, ec);

    Builder config("NVDevices");
    build_preset(config, config.add(config.root(), "Preset"));
    Builder tablet("NVDevices");
    for (auto list : {nv_maker_models(), nv_oem_models()}) {
        for (const NVModelInfo& m : list) {
            build_model_config(config, m);
            build_model_layout(tablet, m);
        }
    }
    Builder pens("NVPens");
    build_pens(pens);

    if (!config.save(out / "config_default.xml") || !tablet.save(out / "layout_tablet.xml")
        || !pens.save(out / "layout_pen.xml")) {
        std::fprintf(stderr, "nuvro-resgen: cannot write into %s\n", out.c_str());
        return 1;
    }
    return 0;
}
