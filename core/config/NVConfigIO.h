// The configuration store: moves a tablet's configuration between the XML files and the
// NVConfig record, keeps the per-application contexts and reads the layout files.
//
// One shared instance per process holds one current document; every operation that
// reads or writes a file replaces it. Not thread-safe: call from one thread at a time.
// A path argument left empty means the per-user file "config_user.xml".
#pragma once

#include "core/config/NVConfigPaths.h"
#include "core/config/NVXmlDoc.h"
#include "core/model/NVTypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class NotificationCenter;

class NVConfigIO {
public:
    static NVConfigIO& sharedIOInstance();

    // Where the reset ("reset_currentAppIndex_kernel"), the record broadcast
    // ("cfg_SendBy_UI") and the application removal ("removedApp") are posted.
    // Not owned; null (the default) posts nothing.
    static void setNotificationCenter(NotificationCenter* center);

    // --- whole configuration ---------------------------------------------------------
    // Fills cfg from the file (empty: the user file, created from the default first).
    // A user file that is unreadable or of an older layout is replaced by the default.
    // True when cfg holds a configuration read; a chosen file that is none leaves cfg
    // as it was, an unusable default leaves it cleared.
    static bool readXml(const std::string& path, NVConfig* cfg, const NVTabletInfo* ti);
    // Writes cfg into the user file's document (the default one when there is no user
    // file) and saves it at path (empty: the user file).
    static bool saveNVConfig(const NVConfig* cfg, const std::string& path, const NVTabletInfo* ti);
    // As above, but writes into the document read from docPath (a path or a file URL).
    static bool saveNVConfig(const NVConfig* cfg, const std::string& path, const NVTabletInfo* ti,
                             const std::string& docPath);
    // Deletes the per-user folder, posts the reset, loads the default file into cfg and
    // saves it as the new user file. An unusable default file leaves cfg cleared.
    static void readDefaultConfig(NVConfig* cfg, const NVTabletInfo* ti);
    // Posts the whole record as "cfg_SendBy_UI" with its bytes under "cfgValFromUI".
    static void synchronousCfgData(const NVConfig* cfg);
    // Stores mekey->index as the set in force of multi-function key 0 of the context
    // currentAppIndex_kernel in the user file. Nothing else is written.
    static void writeDriverChange(const NVContextMEkey* mekey, const NVTabletInfo* ti);

    // --- application contexts -------------------------------------------------------
    // Adds a context for the application at appURL (a file URL or an absolute path).
    static void createAppNodeInXml(const std::string& path, const std::string& appURL,
                                   const NVTabletInfo* ti);
    // Remove and query take a context name as the settings application derives it and
    // map it as adding does (nv_valid_node_name: "3DCoat" names the context "_3DCoat").
    // "removedApp" is posted only when a context was removed and the file saved.
    static void removeAppNodeInXml(const std::string& path, const std::string& appName,
                                   const NVTabletInfo* ti);
    static bool queryAppNodeInXml(const std::string& path, const std::string& appName,
                                  const NVTabletInfo* ti);
    // Context node names of the user file, in order (the first is "Default").
    static std::vector<std::string> readAppListWithTabletInfo(const NVTabletInfo* ti);
    // The appPath of each context that has one, in context order.
    static std::vector<std::string> obtainAppPathFromXml(const std::string& path, const NVConfig* cfg,
                                                         const NVTabletInfo* ti);
    // The context node name for an application URL: last component before its first
    // ".", spaces removed, made a valid element name (see nv_valid_node_name).
    static std::string appNodeName(const std::string& appURL);

    // --- layouts --------------------------------------------------------------------
    // cfg's context 0 sizes the table of position names.
    static void readTabletLayout(NVLayoutTablet* layout, const NVTabletInfo* ti, const NVConfig* cfg);
    static void readPenLayout(NVLayoutPen* layout, const std::string& pen);

    // --- the current document --------------------------------------------------------
    // Replaces the current document with the file at url; null when it is missing or
    // unusable. Opening the user file first clears the temporaries a crashed save left.
    xmlDoc* openXml(const std::string& url);
    // Writes doc (null: the current document) to path through a temporary file renamed
    // over it, creating the per-user folder when missing.
    bool saveXML(const std::string& path, xmlDoc* doc);
    xmlDoc* currentDoc() const { return doc_.get(); }

    // Leaf readers (NVXMLReading). A missing leaf outside the key collections falls back
    // to /NVDevices/Preset/Other/<last component>.
    std::optional<std::string> readNodeStringFromXml(const std::string& path);
    int32_t readNodeIntFromXml(const std::string& path);
    float readNodeFloatFromXml(const std::string& path);
    // Names of all children of the first element at path, in document order.
    std::vector<std::string> readSupportAppsFromPath(const std::string& path);

    // Leaf writers (NVXMLWriting): the first element at path gets the value; a missing
    // leaf is appended under an existing parent; a missing parent drops the value.
    void writeNodeStringValue(const std::string& value, const std::string& path);
    void writeNodeIntValue(int32_t value, const std::string& path);
    void writeNodeFloatValue(float value, const std::string& path);

    // Key-function nodes (NVXMLReading / NVXMLWriting).
    void readNVEkeysInXml(NVEkey* ekey, int index, const std::string& collectionPath);
    void assignmentToEKey(NVEkey* ekey, const std::string& nodePath);
    void writeNodeNVEkeysValue(const NVEkey* ekey, int index, const std::string& collectionPath);
    void writeNVEkeys(const NVEkey* ekey, const std::string& nodePath);
    void readNVMEkeysInXml(NVContextMEkey* mekey, int j, const std::string& mekeysPath);
    void writeNodeNVMEkeysValue(NVContextMEkey mekey, int j, const std::string& mekeyPath);
    // "HKey", "SKey" or "PKey" for a path ending in "hbtns", "sbtns" or "pbtns".
    static std::optional<std::string> replaceSimpleWithPath(const std::string& collectionPath);

    // Context nodes on the current document (NVXMLWriting).
    void createAppNodeWithAppName(const std::string& name, const std::string& modelPath);
    // True when the context was there and is removed.
    bool removeAppNodeWithAppName(const std::string& name, const std::string& modelPath);
    static bool isXmlContainTheApp(const std::string& name, const std::string& modelPath, xmlDoc* doc);

    // Repairs made while reading (a missing key name or appPath) are written to the user
    // file once, here, at the end of the load that made them.
    void flushRepairs();

private:
    NVConfigIO() = default;

    static void postNotification(const char* name);
    // The load of one file into cfg; false, cfg untouched, when the document is unusable
    // (unreadable or without /NVDevices/Preset).
    bool loadDocument(const std::string& path, NVConfig* cfg, const NVTabletInfo* ti);
    // The reset; false when the default file is unusable (cfg is then left cleared).
    bool resetToDefault(NVConfig* cfg, const NVTabletInfo* ti);
    // Gives every Default context of the model an appPath "Default" as its first child.
    void repairMissingAppPath(const std::string& modelPath);

    // Leaves of a located node. found is the first child named leaf of the first element
    // at nodePath, or null. They act as the path readers and writers on
    // nodePath + "/" + leaf, and build that path only when found is null (the path
    // lookup and its fallbacks apply then). scratch holds a text the document does not
    // hold whole.
    std::optional<std::string_view> readLeaf(const xmlNode* found, const std::string& nodePath, const char* leaf,
                                             std::string& scratch);
    int32_t readLeafInt(const xmlNode* found, const std::string& nodePath, const char* leaf);
    // parent, when known, is the element at nodePath: a missing leaf is added to it
    // without a path lookup.
    void writeLeaf(xmlNode* parent, xmlNode* found, const std::string& nodePath, const char* leaf,
                   std::string_view value);
    // Gives the element n the text value.
    void setText(xmlNode* n, std::string_view value);
    // The leaves of a key node and of its "kbtn", in the order they are written.
    enum KeyLeaf { kEkType, kName, kCmdPath, kKbtn, kKeyLeafCount };
    static constexpr const char* kKeyLeaves[kKeyLeafCount] = {"ekType", "name", "cmdPath", "kbtn"};
    enum KbtnLeaf { kBAlt, kBCtrl, kBShift, kBWin, kKbkey0, kKbtnLeafCount = kKbkey0 + NV_KBKEYS_MAX };
    static constexpr const char* kKbtnLeaves[kKbtnLeafCount] = {
        "bAlt",   "bCtrl",  "bShift", "bWin",    "kbkey0",  "kbkey1",  "kbkey2",  "kbkey3",  "kbkey4",  "kbkey5",
        "kbkey6", "kbkey7", "kbkey8", "kbkey9",  "kbkey10", "kbkey11", "kbkey12", "kbkey13", "kbkey14", "kbkey15"};
    static_assert(NV_KBKEYS_MAX == 16, "one leaf name per keyboard key");

    // Inserts the missing "name" child into every element at nodePath.
    void repairMissingName(const std::string& nodePath);
    void expandReference(xmlNode* node);
    // Appends a deep copy of from (same name) as the last child of parent; null when from
    // is larger than keyFunctions key functions can be.
    xmlNode* appendCopy(xmlNode* parent, const xmlNode* from, int keyFunctions);

    // The function sets of a multi-function key and the positions of each that are read
    // and written: a key of 2 positions keeps muxFuncNum sets of two, a key of 3 or more
    // its muxFuncNum sets (at least one) of num positions, within the record's arrays.
    struct MEkeyShape {
        int sets;
        int positions;
    };
    static MEkeyShape mekeyShape(int num, int muxFuncNum);
    // Adds the missing set node "muxfunc<set>" to the key at keyPath as a copy of its
    // first set; null when there is none.
    const xmlNode* repairMissingSet(const std::string& keyPath, int set, int positions);

    // First match of path in the current document.
    xmlNode* find(const std::string& path) { return paths_.first(doc_.get(), path); }

    NVXmlDocPtr doc_;
    NVXmlPathCache paths_;
    bool repairPending_ = false;
};

// A valid XML element name for s: ASCII characters other than letters, digits, "_", "-"
// and "." become "_", and a name not starting with a letter or "_" gets a leading "_"
// ("3DCoat" -> "_3DCoat"). A name that is already valid is returned unchanged.
std::string nv_valid_node_name(const std::string& s);
