#include "platform/linux/RandrDisplayList.h"

#include "core/log/NVLog.h"

#include <QSocketNotifier>
#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <cstdlib>

namespace {

bool has_monitors(xcb_connection_t* conn)
{
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(conn, &xcb_randr_id);
    if (!ext || !ext->present)
        return false;
    xcb_randr_query_version_reply_t* v =
        xcb_randr_query_version_reply(conn, xcb_randr_query_version(conn, 1, 5), nullptr);
    if (!v)
        return false;
    const bool ok = v->major_version > 1 || (v->major_version == 1 && v->minor_version >= 5);
    free(v);
    return ok;
}

} // namespace

std::unique_ptr<RandrDisplayList> RandrDisplayList::open(const char* displayName)
{
    int screenNum = 0;
    xcb_connection_t* conn = xcb_connect(displayName, &screenNum);
    if (xcb_connection_has_error(conn) || !has_monitors(conn)) {
        xcb_disconnect(conn);
        return nullptr;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(conn));
    for (int i = 0; i < screenNum && it.rem; ++i)
        xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;
    xcb_randr_select_input(conn, root,
                           XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE | XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE |
                               XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE);
    xcb_flush(conn);
    const uint8_t base = xcb_get_extension_data(conn, &xcb_randr_id)->first_event;
    return std::unique_ptr<RandrDisplayList>(new RandrDisplayList(conn, root, base));
}

RandrDisplayList::RandrDisplayList(xcb_connection_t* conn, uint32_t root, uint8_t eventBase)
    : conn_(conn),
      root_(root),
      eventBase_(eventBase),
      notifier_(std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(conn), QSocketNotifier::Read))
{
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readEvents(); });
}

RandrDisplayList::~RandrDisplayList()
{
    notifier_.reset();
    xcb_disconnect(conn_);
}

bool RandrDisplayList::activeDisplays(std::vector<NVDisplayInfo>& out)
{
    xcb_randr_get_monitors_reply_t* reply =
        xcb_randr_get_monitors_reply(conn_, xcb_randr_get_monitors(conn_, root_, 1), nullptr);
    if (!reply) {
        nv_log("RandrDisplayList, monitors refused");
        return false;
    }
    out.clear();
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply); it.rem; xcb_randr_monitor_info_next(&it)) {
        const xcb_randr_monitor_info_t* m = it.data;
        out.push_back({m->name, {double(m->x), double(m->y), double(m->width), double(m->height)}});
    }
    free(reply);
    return true;
}

bool RandrDisplayList::displayIdentities(std::vector<NVDisplayIdentity>& out)
{
    xcb_randr_get_monitors_reply_t* reply =
        xcb_randr_get_monitors_reply(conn_, xcb_randr_get_monitors(conn_, root_, 1), nullptr);
    if (!reply)
        return false;
    out.clear();
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply); it.rem; xcb_randr_monitor_info_next(&it)) {
        // A monitor made by hand may have no output.
        if (xcb_randr_monitor_info_outputs_length(it.data) == 0)
            out.emplace_back();
        else
            out.push_back(outputIdentity(xcb_randr_monitor_info_outputs(it.data)[0]));
    }
    free(reply);
    return true;
}

NVDisplayIdentity RandrDisplayList::outputIdentity(uint32_t output)
{
    NVDisplayIdentity id;
    if (auto* info = xcb_randr_get_output_info_reply(conn_, xcb_randr_get_output_info(conn_, output, 0), nullptr)) {
        const auto* name = reinterpret_cast<const char*>(xcb_randr_get_output_info_name(info));
        id.name.assign(name, static_cast<size_t>(xcb_randr_get_output_info_name_length(info)));
        free(info);
    }
    if (!edidAtom_) {
        constexpr const char kEdid[] = "EDID";
        if (auto* atom =
                xcb_intern_atom_reply(conn_, xcb_intern_atom(conn_, 1, sizeof kEdid - 1, kEdid), nullptr)) {
            edidAtom_ = atom->atom;
            free(atom);
        }
        if (!edidAtom_)
            return id;
    }
    // 256 words hold a base block and seven extensions.
    auto* prop = xcb_randr_get_output_property_reply(
        conn_, xcb_randr_get_output_property(conn_, output, edidAtom_, XCB_ATOM_ANY, 0, 256, 0, 0), nullptr);
    if (prop) {
        if (prop->format == 8) {
            const uint8_t* data = xcb_randr_get_output_property_data(prop);
            id.edid.assign(data, data + xcb_randr_get_output_property_data_length(prop));
        }
        free(prop);
    }
    return id;
}

void RandrDisplayList::setReconfigurationHandler(std::function<void()> handler) { handler_ = std::move(handler); }

bool RandrDisplayList::isConnected() const { return xcb_connection_has_error(conn_) == 0; }

void RandrDisplayList::readEvents()
{
    bool changed = false;
    while (xcb_generic_event_t* ev = xcb_poll_for_event(conn_)) {
        const uint8_t type = ev->response_type & 0x7F;
        if (type == eventBase_ + XCB_RANDR_SCREEN_CHANGE_NOTIFY || type == eventBase_ + XCB_RANDR_NOTIFY)
            changed = true;
        free(ev);
    }
    // A hung-up socket stays readable: watching it any longer would spin the loop.
    if (!isConnected()) {
        nv_log("RandrDisplayList: the X11 connection was lost, display changes are no longer followed");
        notifier_->setEnabled(false);
        return;
    }
    if (changed && handler_)
        handler_();
}
