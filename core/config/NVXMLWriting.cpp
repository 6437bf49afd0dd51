// Writers of the current document: leaves, key-function nodes and context nodes.
#include "core/config/NVConfigIO.h"

#include "core/config/NVLeafText.h"
#include "core/model/NVText.h"
#include "core/log/NVLog.h"

#include <libxml/parser.h>

#include <algorithm>

namespace {

const std::string kPreset = "/NVDevices/Preset/";

// A preset copied into a key node is a key function of some fifty nodes; a larger one
// comes from a damaged or hostile file and would multiply with every key written.
constexpr size_t kMaxCopiedNodes = 200;

std::string indexed(const std::string& base, const char* name, int i)
{
    return base + "/" + name + std::to_string(i);
}

bool subtree_within(const xmlNode* n, size_t& budget)
{
    for (const xmlNode* c = n->children; c; c = c->next) {
        if (budget == 0)
            return false;
        --budget;
        if (!subtree_within(c, budget))
            return false;
    }
    return true;
}

// Appends deep copies of the children of from to to; nothing when from is missing or
// too large to be a key function.
void copy_children(xmlDoc* doc, const xmlNode* from, xmlNode* to)
{
    if (!from)
        return;
    size_t budget = kMaxCopiedNodes;
    if (!subtree_within(from, budget)) {
        nv_log("saveNVConfig: preset %s too large to copy", reinterpret_cast<const char*>(from->name));
        return;
    }
    for (const xmlNode* c = from->children; c; c = c->next)
        if (xmlNode* copy = xmlDocCopyNode(const_cast<xmlNode*>(c), doc, 1))
            xmlAddChild(to, copy);
}

bool valid_element_name(const std::string& name)
{
    return !name.empty() && name.find(':') == std::string::npos
        && xmlValidateName(reinterpret_cast<const xmlChar*>(name.c_str()), 0) == 0;
}

} // namespace

void NVConfigIO::setText(xmlNode* n, std::string_view value)
{
    if (xmlFirstElementChild(n))
        paths_.clear();
    nv_xml_set_text(n, value);
}

void NVConfigIO::writeNodeStringValue(const std::string& value, const std::string& path)
{
    if (xmlNode* n = find(path)) {
        setText(n, value);
        return;
    }
    const size_t cut = path.rfind('/');
    if (cut == std::string::npos)
        return;
    const std::string leaf = path.substr(cut + 1);
    xmlNode* parent = find(path.substr(0, cut));
    if (!parent || !valid_element_name(leaf))
        return;
    if (xmlNode* e = nv_xml_new_element(doc_.get(), leaf, &value)) {
        xmlAddChild(parent, e);
        paths_.forget(path);
    }
}

void NVConfigIO::writeNodeIntValue(int32_t value, const std::string& path)
{
    writeNodeStringValue(nv_format_int(value), path);
}

void NVConfigIO::writeNodeFloatValue(float value, const std::string& path)
{
    writeNodeStringValue(nv_format_float(value), path);
}

void NVConfigIO::expandReference(xmlNode* node)
{
    const std::string ekid = nv_xml_string_value(node);
    paths_.clear();
    nv_xml_remove_children(node);
    copy_children(doc_.get(), find(kPreset + ekid), node);
}

void NVConfigIO::writeLeaf(xmlNode* parent, xmlNode* found, const std::string& nodePath, const char* leaf,
                           std::string_view value)
{
    if (found) {
        setText(found, value);
        return;
    }
    const std::string path = nodePath + "/" + leaf;
    if (!parent) {
        writeNodeStringValue(std::string(value), path);
        return;
    }
    const std::string text(value);
    if (xmlNode* e = nv_xml_new_element(doc_.get(), leaf, &text)) {
        xmlAddChild(parent, e);
        paths_.forget(path);
    }
}

void NVConfigIO::writeNVEkeys(const NVEkey* ekey, const std::string& nodePath)
{
    // The key node is located once and its leaves written as its children. A leaf added
    // under it, or text set on a leaf, leaves the other leaves found where they are.
    xmlNode* leaves[kKeyLeafCount] = {};
    // Without the node there is nowhere to write: none of its leaves can exist either.
    xmlNode* node = find(nodePath);
    if (!node)
        return;
    nv_xml_children(node, kKeyLeaves, leaves);
    const auto key = [&](int i, std::string_view value) {
        writeLeaf(node, leaves[i], nodePath, kKeyLeaves[i], value);
    };
    key(kEkType, nv_format_int(static_cast<int32_t>(static_cast<uint32_t>(ekey->funcBit))));
    key(kName, nv_buffer_text(ekey->name));
    key(kCmdPath, nv_buffer_text(ekey->cmdPath));
    const std::string kbtnPath = nodePath + "/kbtn";
    xmlNode* kbtn[kKbtnLeafCount] = {};
    if (leaves[kKbtn])
        nv_xml_children(leaves[kKbtn], kKbtnLeaves, kbtn);
    const auto kb = [&](int i, int32_t value) {
        writeLeaf(leaves[kKbtn], kbtn[i], kbtnPath, kKbtnLeaves[i], nv_format_int(value));
    };
    kb(kBAlt, ekey->kbtn.bAlt);
    kb(kBCtrl, ekey->kbtn.bCtrl);
    kb(kBShift, ekey->kbtn.bShift);
    kb(kBWin, ekey->kbtn.bWin);
    for (int i = 0; i < NV_KBKEYS_MAX; ++i)
        kb(kKbkey0 + i, ekey->kbtn.kbKeys[i]);
}

void NVConfigIO::writeNodeNVEkeysValue(const NVEkey* ekey, int index, const std::string& collectionPath)
{
    const auto group = replaceSimpleWithPath(collectionPath);
    const std::string node = indexed(collectionPath, "ekey", index);
    if (xmlNode* n = find(node)) {
        if (nv_xml_child_count(n) == 1)
            expandReference(n);
    } else if (xmlNode* parent = find(collectionPath); parent && group) {
        const xmlNode* tmpl = find(indexed(kPreset + *group, "ekey", index));
        // A template that refers to a preset is expanded too: written as a bare
        // reference, the key would lose the leaves the preset has and it lacks.
        if (xmlNode* copy = tmpl ? appendCopy(parent, tmpl, 1) : nullptr; copy && nv_xml_child_count(copy) == 1)
            expandReference(copy);
    }
    writeNVEkeys(ekey, node);
}

xmlNode* NVConfigIO::appendCopy(xmlNode* parent, const xmlNode* from, int keyFunctions)
{
    size_t budget = kMaxCopiedNodes * static_cast<size_t>(keyFunctions);
    if (!subtree_within(from, budget)) {
        nv_log("XML node %s too large to copy", reinterpret_cast<const char*>(from->name));
        return nullptr;
    }
    xmlNode* copy = xmlDocCopyNode(const_cast<xmlNode*>(from), doc_.get(), 1);
    if (!copy)
        return nullptr;
    xmlAddChild(parent, copy);
    paths_.clear();
    return copy;
}

void NVConfigIO::writeNodeNVMEkeysValue(NVContextMEkey mekey, int, const std::string& mekeyPath)
{
    // The document decides the shape of the key; index is stored by the driver alone.
    mekey.num = static_cast<uint8_t>(readNodeIntFromXml(mekeyPath + "/num"));
    mekey.muxFuncNum = static_cast<uint8_t>(readNodeIntFromXml(mekeyPath + "/muxFuncNum"));
    const auto [sets, positions] = mekeyShape(mekey.num, mekey.muxFuncNum);
    for (int f = 0; f < sets; ++f) {
        const std::string set = indexed(mekeyPath, "muxfunc", f);
        const NVEkey* ekeys = mekey.muxfunc[f].ekeys;
        xmlNode* s = find(set);
        if (s && nv_xml_child_count(s) == 1) {
            const std::string id = readNodeStringFromXml(set + "/ID").value_or("");
            for (int k = 0; k < positions; ++k) {
                const std::string ekid = readNodeStringFromXml(indexed(kPreset + id, "ekey", k) + "/EKID").value_or("");
                xmlNode* e = nv_xml_new_element(doc_.get(), "ekey" + std::to_string(k), nullptr);
                if (!e)
                    continue;
                copy_children(doc_.get(), find(kPreset + ekid), e);
                xmlAddChild(s, e);
                const std::string pos = indexed(set, "ekey", k);
                paths_.forgetBelow(pos);
                writeNVEkeys(&ekeys[k], pos);
            }
            if (xmlNode* idNode = nv_xml_child(s, "ID")) {
                paths_.forgetBelow(set + "/ID");
                xmlUnlinkNode(idNode);
                xmlFreeNode(idNode);
            }
            continue;
        }
        for (int k = 0; k < positions; ++k) {
            const std::string pos = indexed(set, "ekey", k);
            xmlNode* e = find(pos);
            if (e && nv_xml_child_count(e) == 1)
                expandReference(e);
            writeNVEkeys(&ekeys[k], pos);
        }
    }
}

void NVConfigIO::createAppNodeWithAppName(const std::string& name, const std::string& modelPath)
{
    if (!valid_element_name(name)) {
        nv_log("createAppNode: %s is not a valid node name", name.c_str());
        return;
    }
    xmlNode* model = find(modelPath);
    if (!model)
        return;
    xmlNode* app = nv_xml_new_element(doc_.get(), name, nullptr);
    if (!app)
        return;
    if (const xmlNode* def = find(modelPath + "/Default"))
        for (const xmlNode* c = def->children; c; c = c->next)
            if (xmlNode* copy = xmlDocCopyNode(const_cast<xmlNode*>(c), doc_.get(), 1))
                xmlAddChild(app, copy);
    xmlAddChild(model, app);
    paths_.clear();
}

bool NVConfigIO::removeAppNodeWithAppName(const std::string& name, const std::string& modelPath)
{
    xmlNode* model = find(modelPath);
    xmlNode* app = find(modelPath + "/" + name);
    // Only a direct child of the model element is a context.
    if (!model || !app || app->parent != model)
        return false;
    paths_.clear();
    xmlUnlinkNode(app);
    xmlFreeNode(app);
    return true;
}

bool NVConfigIO::isXmlContainTheApp(const std::string& name, const std::string& modelPath, xmlDoc* doc)
{
    const xmlNode* model = nv_xml_first(doc, modelPath);
    if (!model)
        return false;
    for (const xmlNode* c = model->children; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE && name == reinterpret_cast<const char*>(c->name))
            return true;
    return false;
}
