#include "core/config/NVXmlDoc.h"

#include "core/log/NVLog.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlsave.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ParseGuard {
    bool sawDoctype = false;
};

// A document type declaration is the door to entity expansion and external loads; the
// store's files never carry one, so parsing stops at the first sign of it.
void refuse_doctype(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*)
{
    auto* ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    static_cast<ParseGuard*>(ctxt->_private)->sawDoctype = true;
    xmlStopParser(ctxt);
}

void silent_error(void*, xmlErrorPtr) {}

NVXmlDocPtr parse(const char* data, size_t size, const char* what)
{
    if (size > NV_XML_MAX_FILE) {
        nv_log("XML document refused, larger than %zu bytes: %s", NV_XML_MAX_FILE, what);
        return nullptr;
    }
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt)
        return nullptr;
    ParseGuard guard;
    ctxt->_private = &guard;
    ctxt->sax->internalSubset = refuse_doctype;
    ctxt->sax->externalSubset = refuse_doctype;
    ctxt->sax->serror = silent_error;
    const int options =
        XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_COMPACT;
    NVXmlDocPtr doc(xmlCtxtReadMemory(ctxt, data, static_cast<int>(size), nullptr, nullptr, options));
    const bool wellFormed = ctxt->wellFormed != 0;
    xmlFreeParserCtxt(ctxt);
    if (guard.sawDoctype) {
        nv_log("XML document refused, it declares a document type: %s", what);
        return nullptr;
    }
    if (!doc || !wellFormed || !xmlDocGetRootElement(doc.get())) {
        nv_log("XML document refused, not well-formed: %s", what);
        return nullptr;
    }
    return doc;
}

std::vector<std::string_view> split_path(const std::string& path)
{
    std::vector<std::string_view> steps;
    std::string_view p(path);
    if (p.empty() || p.front() != '/')
        return steps;
    p.remove_prefix(1);
    while (true) {
        const size_t slash = p.find('/');
        steps.push_back(p.substr(0, slash));
        if (slash == std::string_view::npos)
            break;
        p.remove_prefix(slash + 1);
    }
    return steps;
}

bool named(const xmlNode* n, std::string_view name)
{
    if (n->type != XML_ELEMENT_NODE)
        return false;
    const char* s = reinterpret_cast<const char*>(n->name);
    return std::strlen(s) == name.size() && std::memcmp(s, name.data(), name.size()) == 0;
}

// Depth-first over the steps, children in order: yields matches in document order.
// Returns true when collect asks to stop.
template <typename Visit>
bool walk(xmlNode* first, const std::vector<std::string_view>& steps, size_t i, Visit& visit)
{
    if (steps[i].empty())
        return false;
    for (xmlNode* c = first; c; c = c->next) {
        if (!named(c, steps[i]))
            continue;
        if (i + 1 == steps.size()) {
            if (visit(c))
                return true;
        } else if (walk(c->children, steps, i + 1, visit)) {
            return true;
        }
    }
    return false;
}

void append_text(const xmlNode* n, std::string& out)
{
    for (const xmlNode* c = n; c; c = c->next) {
        if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) {
            if (c->content)
                out += reinterpret_cast<const char*>(c->content);
        } else if (c->type == XML_ELEMENT_NODE) {
            append_text(c->children, out);
        }
    }
}

int append_bytes(void* out, const char* data, int size)
{
    static_cast<std::string*>(out)->append(data, static_cast<size_t>(size));
    return size;
}

} // namespace

NVXmlDocPtr nv_xml_read_memory(const char* data, size_t size)
{
    return parse(data, size, "(memory)");
}

NVXmlDocPtr nv_xml_read_file(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (errno != ENOENT)
            nv_log("XML document unreadable: %s (%s)", path.c_str(), std::strerror(errno));
        return nullptr;
    }
    // Read one byte past the cap so that a file growing, or a device without a size,
    // is still caught.
    std::string bytes;
    struct stat st;
    if (fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode))
        bytes.reserve(std::min<size_t>(static_cast<size_t>(st.st_size), NV_XML_MAX_FILE) + 1);
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        bytes.append(buf, n);
        if (bytes.size() > NV_XML_MAX_FILE)
            break;
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        nv_log("XML document unreadable: %s", path.c_str());
        return nullptr;
    }
    return parse(bytes.data(), bytes.size(), path.c_str());
}

std::string nv_xml_serialise(xmlDoc* doc)
{
    std::string out;
    // The tree holds UTF-8 already. Declared as the document's encoding for the save,
    // UTF-8 is written as it is held, straight into out: naming it as the output
    // encoding instead would pass every byte through an identity conversion and two
    // more copies, for the same bytes.
    xmlSaveCtxtPtr ctxt = xmlSaveToIO(append_bytes, nullptr, &out, nullptr, XML_SAVE_FORMAT | XML_SAVE_AS_XML);
    if (!ctxt)
        return out;
    const xmlChar* encoding = doc->encoding;
    doc->encoding = reinterpret_cast<const xmlChar*>("UTF-8");
    const bool saved = xmlSaveDoc(ctxt, doc) >= 0;
    doc->encoding = encoding;
    // A document cut short by a failure must not reach a file: nothing is returned.
    if (xmlSaveClose(ctxt) < 0 || !saved)
        out.clear();
    return out;
}

namespace {

// Temporaries are named "<file>.XXXXXX", as mkstemp makes them.
constexpr size_t kTempSuffix = 6;
// A temporary this old belongs to no save still running.
constexpr auto kStaleAfter = std::chrono::minutes(1);

bool write_all(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        done += static_cast<size_t>(w);
    }
    return fsync(fd) == 0;
}

// Gives the temporary path's permissions (0644 for a new file). A filesystem without
// permissions refuses; the save goes on.
void keep_mode(int fd, const std::string& path)
{
    struct stat st;
    fchmod(fd, stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
}

std::string folder_of(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The bytes in an unnamed file of path's folder, given the temporary name tmp only once
// complete and flushed: a crash while writing leaves nothing behind. False when the
// filesystem has no unnamed files or the link fails; tmp then names nothing.
bool write_unnamed([[maybe_unused]] const std::string& path, [[maybe_unused]] const std::string& bytes,
                   [[maybe_unused]] std::string& tmp)
{
#ifdef O_TMPFILE
    const int fd = open(folder_of(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    keep_mode(fd, path);
    bool ok = write_all(fd, bytes);
    if (ok) {
        // A link cannot replace a file: the content is linked under a fresh name, then
        // renamed over path.
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        ok = false;
        for (int attempt = 0; attempt < 8 && !ok; ++attempt) {
            std::string name = path + ".XXXXXX";
            const int probe = mkstemp(name.data());
            if (probe < 0)
                break;
            close(probe);
            unlink(name.c_str());
            if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                tmp = std::move(name);
                ok = true;
            } else if (errno != EEXIST) {
                break;
            }
        }
    }
    ok = (close(fd) == 0) && ok;
    if (!ok && !tmp.empty()) {
        unlink(tmp.c_str());
        tmp.clear();
    }
    return ok;
#else
    return false;
#endif
}

bool write_named(const std::string& path, const std::string& bytes, std::string& tmp)
{
    tmp = path + ".XXXXXX";
    const int fd = mkstemp(tmp.data());
    if (fd < 0) {
        tmp.clear();
        return false;
    }
    keep_mode(fd, path);
    const bool ok = write_all(fd, bytes);
    return (close(fd) == 0) && ok;
}

bool temp_suffix(std::string_view s)
{
    return s.size() == kTempSuffix && std::all_of(s.begin(), s.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
           });
}

} // namespace

bool nv_write_file_atomic(const std::string& path, const std::string& bytes)
{
    std::string tmp;
    bool ok = write_unnamed(path, bytes, tmp) || write_named(path, bytes, tmp);
    ok = ok && std::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok && !tmp.empty())
        unlink(tmp.c_str());
    return ok;
}

void nv_remove_stale_temporaries(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path file(path);
    const std::string prefix = file.filename().string() + ".";
    const auto cutoff = fs::file_time_type::clock::now() - kStaleAfter;
    for (fs::directory_iterator it(file.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(prefix) || !temp_suffix(std::string_view(name).substr(prefix.size())))
            continue;
        std::error_code entryEc;
        if (!it->is_regular_file(entryEc) || it->is_symlink(entryEc))
            continue;
        const auto written = it->last_write_time(entryEc);
        if (entryEc || written > cutoff)
            continue;
        if (fs::remove(it->path(), entryEc))
            nv_log("removed the stale temporary %s", it->path().c_str());
    }
}


xmlNode* nv_xml_first(xmlDoc* doc, const std::string& path)
{
    if (!doc)
        return nullptr;
    const auto steps = split_path(path);
    if (steps.empty())
        return nullptr;
    xmlNode* found = nullptr;
    auto visit = [&](xmlNode* n) {
        found = n;
        return true;
    };
    walk(doc->children, steps, 0, visit);
    return found;
}

xmlNode* NVXmlPathCache::first(xmlDoc* doc, const std::string& path)
{
    const size_t cut = path.rfind('/');
    if (!doc || cut == std::string::npos || cut == 0)
        return nv_xml_first(doc, path);
    const std::string_view parentPath = std::string_view(path).substr(0, cut);
    auto it = parents_.find(parentPath);
    if (it == parents_.end()) {
        std::string key(parentPath);
        xmlNode* parent = nv_xml_first(doc, key);
        if (!parent)
            return nullptr;
        it = parents_.emplace(std::move(key), parent).first;
    }
    const std::string_view leaf = std::string_view(path).substr(cut + 1);
    if (leaf.empty())
        return nullptr;
    for (xmlNode* c = it->second->children; c; c = c->next)
        if (named(c, leaf))
            return c;
    return nv_xml_first(doc, path);
}

void NVXmlPathCache::forget(std::string_view path)
{
    if (auto it = parents_.find(path); it != parents_.end())
        parents_.erase(it);
}

void NVXmlPathCache::forgetBelow(std::string_view path)
{
    std::erase_if(parents_, [path](const auto& entry) {
        const std::string_view p = entry.first;
        return p.starts_with(path) && (p.size() == path.size() || p[path.size()] == '/');
    });
}

std::vector<xmlNode*> nv_xml_all(xmlDoc* doc, const std::string& path)
{
    std::vector<xmlNode*> all;
    if (!doc)
        return all;
    const auto steps = split_path(path);
    if (steps.empty())
        return all;
    auto visit = [&](xmlNode* n) {
        all.push_back(n);
        return false;
    };
    walk(doc->children, steps, 0, visit);
    return all;
}

std::string nv_xml_string_value(const xmlNode* node)
{
    std::string out;
    if (node)
        append_text(node->children, out);
    return out;
}

std::string_view nv_xml_text(const xmlNode* node, std::string& scratch)
{
    // An empty text is viewed on a literal, never on null, for callers that copy it.
    const xmlNode* c = node->children;
    if (!c)
        return "";
    if (!c->next && (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE))
        return c->content ? reinterpret_cast<const char*>(c->content) : "";
    scratch = nv_xml_string_value(node);
    return scratch;
}

void nv_xml_remove_children(xmlNode* node)
{
    xmlNode* c = node->children;
    while (c) {
        xmlNode* next = c->next;
        xmlUnlinkNode(c);
        xmlFreeNode(c);
        c = next;
    }
}

void nv_xml_set_text(xmlNode* node, std::string_view value)
{
    const xmlNode* only = node->children;
    if (only && !only->next && only->type == XML_TEXT_NODE && only->name == xmlStringText && only->content
        && value == reinterpret_cast<const char*>(only->content))
        return;
    nv_xml_remove_children(node);
    xmlNode* text = xmlNewDocTextLen(node->doc, reinterpret_cast<const xmlChar*>(value.data()),
                                     static_cast<int>(value.size()));
    if (text)
        xmlAddChild(node, text);
}

size_t nv_xml_child_count(const xmlNode* node)
{
    size_t n = 0;
    for (const xmlNode* c = node->children; c; c = c->next)
        if (c->type != XML_COMMENT_NODE && c->type != XML_PI_NODE)
            ++n;
    return n;
}

xmlNode* nv_xml_child(const xmlNode* node, const char* name)
{
    for (xmlNode* c = node->children; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(c->name), name) == 0)
            return c;
    return nullptr;
}

void nv_xml_children(const xmlNode* node, std::span<const char* const> names, xmlNode** found)
{
    std::fill_n(found, names.size(), nullptr);
    size_t next = 0;
    for (xmlNode* c = node->children; c; c = c->next) {
        if (c->type != XML_ELEMENT_NODE)
            continue;
        const char* name = reinterpret_cast<const char*>(c->name);
        size_t i = next;
        if (i == names.size() || std::strcmp(name, names[i]) != 0)
            for (i = 0; i < names.size() && std::strcmp(name, names[i]) != 0; ++i) {
            }
        if (i == names.size() || found[i])
            continue;
        found[i] = c;
        next = i + 1;
    }
}

xmlNode* nv_xml_new_element(xmlDoc* doc, const std::string& name, const std::string* value)
{
    xmlNode* e = xmlNewDocNode(doc, nullptr, reinterpret_cast<const xmlChar*>(name.c_str()), nullptr);
    if (e && value)
        nv_xml_set_text(e, *value);
    return e;
}
