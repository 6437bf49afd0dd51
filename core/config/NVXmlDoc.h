// XML documents as the store uses them: a guarded parser for files that may be hostile,
// an atomic writer, and absolute location paths of element names ("/A/B/C").
#pragma once

#include <libxml/tree.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct NVXmlDocFree {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
using NVXmlDocPtr = std::unique_ptr<xmlDoc, NVXmlDocFree>;

// Files larger than this are refused unread.
constexpr size_t NV_XML_MAX_FILE = 16u << 20;

// Parses the file at path without network access, entity substitution or DTD loading.
// A file carrying a document type declaration, one over NV_XML_MAX_FILE, or one that is
// not well-formed (libxml2's depth limits included) is refused with one log line. A
// missing file gives null silently.
NVXmlDocPtr nv_xml_read_file(const std::string& path);
NVXmlDocPtr nv_xml_read_memory(const char* data, size_t size);

// Pretty-printed UTF-8 bytes of the document; empty when it cannot be serialised.
std::string nv_xml_serialise(xmlDoc* doc);
// Writes bytes to a temporary file beside path, flushes it and renames it over path,
// so path holds either the old or the new content, never a part; path's permissions are
// kept. The temporary is unnamed while written where the filesystem allows, so a crash
// leaves none. False on any failure.
bool nv_write_file_atomic(const std::string& path, const std::string& bytes);
// Removes the temporaries of path that a crashed save left (regular files named
// "<path>.XXXXXX", older than a minute: younger ones may belong to a save under way).
void nv_remove_stale_temporaries(const std::string& path);

// Location paths: the element steps of path are matched from the root, first match in
// document order (a later branch is tried when an earlier one has no match below).
xmlNode* nv_xml_first(xmlDoc* doc, const std::string& path);
std::vector<xmlNode*> nv_xml_all(xmlDoc* doc, const std::string& path);

// First-match lookups that remember the parent element of each leaf looked up. Matches
// of a path of child steps all lie at one depth, so a leaf found under the first parent
// match is the first leaf match; otherwise the whole document is searched. Valid while
// the document's element structure is unchanged: clear() after adding or removing nodes.
class NVXmlPathCache {
public:
    xmlNode* first(xmlDoc* doc, const std::string& path);
    void clear() { parents_.clear(); }
    // After an element was added at path: a parent remembered there may no longer be the
    // first in document order. A leaf (no child elements) needs forget; a subtree forgetBelow.
    void forget(std::string_view path);
    void forgetBelow(std::string_view path);

private:
    // Looked up by a view of the path, so that a hit builds no string.
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, xmlNode*, Hash, std::equal_to<>> parents_;
};

// Concatenated text of all descendants.
std::string nv_xml_string_value(const xmlNode* node);
// The same text, viewed in place when one text node holds it all (a leaf's usual shape),
// otherwise copied into scratch. Valid until node's content or scratch changes.
std::string_view nv_xml_text(const xmlNode* node, std::string& scratch);
// Unlinks and frees every child of node.
void nv_xml_remove_children(xmlNode* node);
// Replaces the content of node with one text node holding value literally. A node that
// already holds exactly that is left as it is.
void nv_xml_set_text(xmlNode* node, std::string_view value);
// Child nodes other than comments and processing instructions.
size_t nv_xml_child_count(const xmlNode* node);
// The first child element of that name, or null.
xmlNode* nv_xml_child(const xmlNode* node, const char* name);
// The first child element of node named names[i] into found[i] (null where none), for
// all names (distinct) in one pass over the children: cheap when they come in the
// order of names.
void nv_xml_children(const xmlNode* node, std::span<const char* const> names, xmlNode** found);
// A new element named name, holding value as text when value is non-null.
xmlNode* nv_xml_new_element(xmlDoc* doc, const std::string& name, const std::string* value);
