#include "settings/logic/NVPlistFile.h"

#include "core/config/NVXmlDoc.h"

#include <charconv>
#include <cstring>

namespace {

bool is_element(const xmlNode* n, const char* name)
{
    return n->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(n->name), name) == 0;
}

const xmlNode* next_element(const xmlNode* n)
{
    while (n && n->type != XML_ELEMENT_NODE)
        n = n->next;
    return n;
}

std::optional<NVPlistValue> read_value(const xmlNode* v)
{
    if (is_element(v, "string"))
        return NVPlistValue(nv_xml_string_value(v));
    if (is_element(v, "integer")) {
        const std::string text = nv_xml_string_value(v);
        int32_t i = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), i);
        if (ec != std::errc() || end != text.data() + text.size())
            return std::nullopt;
        return NVPlistValue(i);
    }
    if (is_element(v, "array")) {
        NVPlistStrings items;
        for (const xmlNode* c = next_element(v->children); c; c = next_element(c->next)) {
            if (!is_element(c, "string"))
                return std::nullopt;
            items.push_back(nv_xml_string_value(c));
        }
        return NVPlistValue(std::move(items));
    }
    return std::nullopt;
}

void add_element(xmlNode* parent, const char* name, const std::string* text)
{
    xmlNode* n = xmlNewChild(parent, nullptr, reinterpret_cast<const xmlChar*>(name), nullptr);
    if (text)
        xmlNodeAddContentLen(n, reinterpret_cast<const xmlChar*>(text->data()), static_cast<int>(text->size()));
}

} // namespace

std::optional<NVPlistDict> nv_plist_file_read(const std::string& path)
{
    NVXmlDocPtr doc = nv_xml_read_file(path);
    const xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (!root || !is_element(root, "plist"))
        return std::nullopt;
    const xmlNode* dict = next_element(root->children);
    if (!dict || !is_element(dict, "dict"))
        return std::nullopt;
    NVPlistDict out;
    for (const xmlNode* k = next_element(dict->children); k; k = next_element(k->next)) {
        const xmlNode* v = next_element(k->next);
        if (!is_element(k, "key") || !v)
            return std::nullopt;
        if (std::optional<NVPlistValue> value = read_value(v))
            out[nv_xml_string_value(k)] = std::move(*value);
        k = v;
    }
    return out;
}

bool nv_plist_file_write(const std::string& path, const NVPlistDict& dict)
{
    NVXmlDocPtr doc(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
    xmlNode* root = xmlNewNode(nullptr, reinterpret_cast<const xmlChar*>("plist"));
    xmlNewProp(root, reinterpret_cast<const xmlChar*>("version"), reinterpret_cast<const xmlChar*>("1.0"));
    xmlDocSetRootElement(doc.get(), root);
    xmlNode* d = xmlNewChild(root, nullptr, reinterpret_cast<const xmlChar*>("dict"), nullptr);
    for (const auto& [key, value] : dict) {
        const NVPlistValue::Storage& s = value.storage();
        if (const auto* str = std::get_if<std::string>(&s)) {
            add_element(d, "key", &key);
            add_element(d, "string", str);
        } else if (const auto* i = std::get_if<int32_t>(&s)) {
            const std::string text = std::to_string(*i);
            add_element(d, "key", &key);
            add_element(d, "integer", &text);
        } else if (const auto* items = std::get_if<NVPlistStrings>(&s)) {
            add_element(d, "key", &key);
            xmlNode* a = xmlNewChild(d, nullptr, reinterpret_cast<const xmlChar*>("array"), nullptr);
            for (const std::string& item : *items)
                add_element(a, "string", &item);
        }
    }
    const std::string bytes = nv_xml_serialise(doc.get());
    return !bytes.empty() && nv_write_file_atomic(path, bytes);
}

std::string nv_tablet_settings_path(const std::string& dataDir)
{
    return dataDir + "/tabletSettings.plist";
}

bool nv_write_tablet_driver_path(const std::string& dataDir, const std::string& bundlePath)
{
    return nv_plist_file_write(nv_tablet_settings_path(dataDir), {{"TabletDriverPath", bundlePath}});
}

std::string nv_read_tablet_driver_path(const std::string& dataDir)
{
    const std::optional<NVPlistDict> dict = nv_plist_file_read(nv_tablet_settings_path(dataDir));
    return dict ? nv_plist_string(*dict, "TabletDriverPath") : std::string();
}
