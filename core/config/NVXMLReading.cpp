// Readers of the current document: leaves, context names and key-function nodes.
#include "core/config/NVConfigIO.h"

#include "core/config/NVLeafText.h"
#include "core/model/NVText.h"
#include "core/log/NVLog.h"

#include <algorithm>

namespace {

const std::string kPreset = "/NVDevices/Preset/";

std::string indexed(const std::string& base, const char* name, int i)
{
    return base + "/" + name + std::to_string(i);
}

// Copies the text of leaf under nodePath into a record buffer, logging a cut.
void copy_field(char (&dst)[NV_STR_MAX], std::string_view text, const std::string& nodePath, const char* leaf)
{
    if (!nv_copy_text(dst, NV_STR_MAX, text))
        nv_log("readXML: text of %s/%s cut to %d bytes", nodePath.c_str(), leaf, NV_STR_MAX - 1);
}

uint8_t clamp_count(int32_t value, uint8_t max, const std::string& path)
{
    const auto v = static_cast<uint8_t>(value);
    if (v <= max)
        return v;
    nv_log("readXML: %s is %u, only %u are kept", path.c_str(), v, max);
    return max;
}

} // namespace

std::optional<std::string> NVConfigIO::readNodeStringFromXml(const std::string& path)
{
    if (const xmlNode* n = find(path))
        return nv_xml_string_value(n);
    // Settings missing from a context fall back to the shared leaves; key collections
    // never do, so that a key without a function stays without one.
    if (path.find("hbtns") != std::string::npos || path.find("sbtns") != std::string::npos
        || path.find("pbtns") != std::string::npos)
        return std::nullopt;
    const std::string last = path.substr(path.rfind('/') + 1);
    if (const xmlNode* n = find(kPreset + "Other/" + last))
        return nv_xml_string_value(n);
    return std::nullopt;
}

int32_t NVConfigIO::readNodeIntFromXml(const std::string& path)
{
    const auto s = readNodeStringFromXml(path);
    return s ? nv_parse_int(*s) : 0;
}

float NVConfigIO::readNodeFloatFromXml(const std::string& path)
{
    const auto s = readNodeStringFromXml(path);
    return s ? nv_parse_float(*s) : 0.0f;
}

std::vector<std::string> NVConfigIO::readSupportAppsFromPath(const std::string& path)
{
    std::vector<std::string> names;
    if (const xmlNode* n = find(path))
        for (const xmlNode* c = n->children; c; c = c->next)
            if (c->type == XML_ELEMENT_NODE)
                names.emplace_back(reinterpret_cast<const char*>(c->name));
    return names;
}

std::optional<std::string> NVConfigIO::replaceSimpleWithPath(const std::string& collectionPath)
{
    const std::string last = collectionPath.substr(collectionPath.rfind('/') + 1);
    if (last == "hbtns")
        return "HKey";
    if (last == "sbtns")
        return "SKey";
    if (last == "pbtns")
        return "PKey";
    nv_log("读普通按键对应路径有误: %s", collectionPath.c_str());
    return std::nullopt;
}

void NVConfigIO::repairMissingName(const std::string& nodePath)
{
    for (xmlNode* n : nv_xml_all(doc_.get(), nodePath)) {
        if (nv_xml_child(n, "name"))
            continue;
        const std::string empty;
        xmlNode* name = nv_xml_new_element(doc_.get(), "name", &empty);
        if (!name)
            continue;
        if (n->children)
            xmlAddNextSibling(n->children, name);
        else
            xmlAddChild(n, name);
        paths_.clear();
        repairPending_ = true;
    }
}

std::optional<std::string_view> NVConfigIO::readLeaf(const xmlNode* found, const std::string& nodePath,
                                                     const char* leaf, std::string& scratch)
{
    if (found)
        return nv_xml_text(found, scratch);
    auto text = readNodeStringFromXml(nodePath + "/" + leaf);
    if (!text)
        return std::nullopt;
    scratch = std::move(*text);
    return std::string_view(scratch);
}

int32_t NVConfigIO::readLeafInt(const xmlNode* found, const std::string& nodePath, const char* leaf)
{
    std::string scratch;
    const auto text = readLeaf(found, nodePath, leaf, scratch);
    return text ? nv_parse_int(*text) : 0;
}

void NVConfigIO::assignmentToEKey(NVEkey* ekey, const std::string& nodePath)
{
    // The key node is located once and its leaves taken from its children.
    xmlNode* leaves[kKeyLeafCount] = {};
    if (const xmlNode* node = find(nodePath))
        nv_xml_children(node, kKeyLeaves, leaves);
    ekey->funcBit =
        static_cast<uint64_t>(static_cast<int64_t>(readLeafInt(leaves[kEkType], nodePath, kKeyLeaves[kEkType])));
    ekey->funcEvent = 0;
    std::string scratch;
    auto name = readLeaf(leaves[kName], nodePath, kKeyLeaves[kName], scratch);
    if (!name) {
        repairMissingName(nodePath);
        name = readLeaf(nullptr, nodePath, kKeyLeaves[kName], scratch);
    }
    copy_field(ekey->name, name.value_or(""), nodePath, "name");
    if (ekey->funcBit & 0x08) {
        const auto cmdPath = readLeaf(leaves[kCmdPath], nodePath, kKeyLeaves[kCmdPath], scratch);
        copy_field(ekey->cmdPath, cmdPath.value_or(""), nodePath, "cmdPath");
    }
    if (ekey->funcBit & 0x04) {
        const std::string kbtnPath = nodePath + "/kbtn";
        xmlNode* kbtn[kKbtnLeafCount] = {};
        if (leaves[kKbtn])
            nv_xml_children(leaves[kKbtn], kKbtnLeaves, kbtn);
        const auto read = [&](int i) { return static_cast<uint8_t>(readLeafInt(kbtn[i], kbtnPath, kKbtnLeaves[i])); };
        NVKbtn& k = ekey->kbtn;
        k.bCtrl = read(kBCtrl);
        k.bAlt = read(kBAlt);
        k.bWin = read(kBWin);
        k.bShift = read(kBShift);
        for (int i = 0; i < NV_KBKEYS_MAX; ++i)
            k.kbKeys[i] = read(kKbkey0 + i);
    }
}

void NVConfigIO::readNVEkeysInXml(NVEkey* ekey, int index, const std::string& collectionPath)
{
    const auto group = replaceSimpleWithPath(collectionPath);
    const std::string node = indexed(collectionPath, "ekey", index);
    if (const xmlNode* n = find(node)) {
        if (nv_xml_child_count(n) == 1)
            assignmentToEKey(ekey, kPreset + nv_xml_string_value(n));
        else
            assignmentToEKey(ekey, node);
        return;
    }
    const std::string tmpl = indexed(kPreset + group.value_or(""), "ekey", index);
    const xmlNode* t = find(tmpl);
    // A file of an earlier version may lack keys it now has (the pen tip, a barrel
    // button): the key gets its template's node, written once at the end of the load.
    if (xmlNode* parent = t ? find(collectionPath) : nullptr; parent && appendCopy(parent, t, 1))
        repairPending_ = true;
    if (t && nv_xml_child_count(t) == 1)
        assignmentToEKey(ekey, kPreset + nv_xml_string_value(t));
    else
        assignmentToEKey(ekey, tmpl);
}

NVConfigIO::MEkeyShape NVConfigIO::mekeyShape(int num, int muxFuncNum)
{
    const int sets = std::min(muxFuncNum, NV_MUXFUNC_MAX);
    if (num == 2)
        return {sets, 2};
    if (num >= 3)
        return {std::max(sets, 1), std::min(num, NV_EKEY_MAX)};
    return {0, 0};
}

const xmlNode* NVConfigIO::repairMissingSet(const std::string& keyPath, int set, int positions)
{
    // Files of earlier versions kept one set for keys of 3 or more positions: the
    // others start as copies of it, written once at the end of the load.
    xmlNode* key = find(keyPath);
    const xmlNode* first = find(keyPath + "/muxfunc0");
    if (!key || !first)
        return nullptr;
    xmlNode* copy = appendCopy(key, first, positions);
    if (!copy)
        return nullptr;
    xmlNodeSetName(copy, reinterpret_cast<const xmlChar*>(("muxfunc" + std::to_string(set)).c_str()));
    repairPending_ = true;
    return copy;
}

void NVConfigIO::readNVMEkeysInXml(NVContextMEkey* mekey, int j, const std::string& mekeysPath)
{
    const std::string key = indexed(mekeysPath, "mekey", j);
    mekey->num = clamp_count(readNodeIntFromXml(key + "/num"), NV_EKEY_MAX, key + "/num");
    mekey->muxFuncNum = clamp_count(readNodeIntFromXml(key + "/muxFuncNum"), NV_MUXFUNC_MAX, key + "/muxFuncNum");
    mekey->index = static_cast<uint8_t>(readNodeIntFromXml(key + "/index"));
    if (mekey->index != 0 && mekey->index >= mekey->muxFuncNum) {
        nv_log("readXML: %s/index %u is not below muxFuncNum %u, set 0 is used", key.c_str(), mekey->index,
               mekey->muxFuncNum);
        mekey->index = 0;
    }
    const auto [sets, positions] = mekeyShape(mekey->num, mekey->muxFuncNum);
    for (int f = 0; f < sets; ++f) {
        const std::string set = indexed(key, "muxfunc", f);
        NVEkey* ekeys = mekey->muxfunc[f].ekeys;
        const xmlNode* s = find(set);
        if (!s && f > 0 && mekey->num >= 3)
            s = repairMissingSet(key, f, positions);
        if (s && nv_xml_child_count(s) == 1) {
            const std::string id = readNodeStringFromXml(set + "/ID").value_or("");
            for (int k = 0; k < positions; ++k) {
                const std::string ekid = readNodeStringFromXml(indexed(kPreset + id, "ekey", k) + "/EKID").value_or("");
                assignmentToEKey(&ekeys[k], kPreset + ekid);
            }
            continue;
        }
        for (int k = 0; k < positions; ++k) {
            const std::string pos = indexed(set, "ekey", k);
            const xmlNode* e = find(pos);
            if (e && nv_xml_child_count(e) == 1)
                assignmentToEKey(&ekeys[k], kPreset + readNodeStringFromXml(pos + "/EKID").value_or(""));
            else
                assignmentToEKey(&ekeys[k], pos);
        }
    }
}
