#include "platform/linux/SwayWorkspace.h"

#include "core/log/NVLog.h"
#include "platform/linux/ProcessList.h"
#include "platform/linux/SwayIpc.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <QTimer>

namespace {

QJsonObject json_object(const std::string& text)
{
    return QJsonDocument::fromJson(QByteArray::fromRawData(text.data(), qsizetype(text.size()))).object();
}

bool is_window(const QJsonObject& node)
{
    const QString type = node.value("type").toString();
    return type == "con" || type == "floating_con";
}

// The focused node of a tree; an empty object when none is.
QJsonObject focused_node(const QJsonObject& node)
{
    if (node.value("focused").toBool())
        return node;
    for (const char* key : {"nodes", "floating_nodes"})
        for (const QJsonValue& child : node.value(key).toArray()) {
            QJsonObject found = focused_node(child.toObject());
            if (!found.isEmpty())
                return found;
        }
    return {};
}

// The app_id of a Wayland window, the class of an X11 one.
std::string owner_name(const QJsonObject& container)
{
    const QString appId = container.value("app_id").toString();
    if (!appId.isEmpty())
        return appId.toStdString();
    return container.value("window_properties").toObject().value("class").toString().toStdString();
}

} // namespace

std::unique_ptr<SwayWorkspace> SwayWorkspace::open(const std::string& socketPath)
{
    auto ipc = SwayIpc::connect(socketPath);
    if (!ipc)
        return nullptr;
    const auto subscribed = ipc->request(NV_SWAY_SUBSCRIBE, R"(["window","workspace"])");
    if (!subscribed || !json_object(*subscribed).value("success").toBool())
        return nullptr;
    // Asked after subscribing: a change meanwhile arrives as an event after the tree.
    const auto tree = ipc->request(NV_SWAY_GET_TREE, "");
    if (!tree)
        return nullptr;
    std::unique_ptr<SwayWorkspace> ws(new SwayWorkspace(std::move(ipc)));
    const QJsonObject node = focused_node(json_object(*tree));
    if (is_window(node))
        ws->focus(node);
    ws->readEvents();
    return ws;
}

SwayWorkspace::SwayWorkspace(std::unique_ptr<SwayIpc> ipc)
    : ipc_(std::move(ipc)), notifier_(std::make_unique<QSocketNotifier>(ipc_->fd(), QSocketNotifier::Read))
{
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readEvents(); });
    // Its profile applies from the start, not only after the next change of program. On
    // the loop: the handler and whoever follows it are set up after construction.
    QTimer::singleShot(0, notifier_.get(), [this] { reportFirst(); });
}

SwayWorkspace::~SwayWorkspace() = default;

bool SwayWorkspace::isConnected() const
{
    return notifier_->isEnabled();
}

void SwayWorkspace::readEvents()
{
    std::vector<NVSwayMessage> events;
    const bool open = ipc_->read(events);
    for (const auto& e : events)
        apply(e);
    if (!open) {
        // A hung-up socket stays readable: watching it any longer would spin the loop.
        nv_log("SwayWorkspace: the Sway IPC connection was lost, the frontmost application is no longer followed");
        notifier_->setEnabled(false);
        return;
    }
    report(program_, ownerName_);
}

void SwayWorkspace::apply(const NVSwayMessage& event)
{
    const QJsonObject e = json_object(event.payload);
    const QString change = e.value("change").toString();
    if (event.type == NV_SWAY_EVENT_WINDOW) {
        const QJsonObject container = e.value("container").toObject();
        if (change == "focus")
            focus(container);
        else if (change == "close" && container.value("id").toInteger() == container_)
            unfocus();
    } else if (event.type == NV_SWAY_EVENT_WORKSPACE && change == "focus") {
        // An empty workspace has no window to focus; otherwise a window event follows.
        const QJsonObject current = e.value("current").toObject();
        if (current.value("nodes").toArray().isEmpty() && current.value("floating_nodes").toArray().isEmpty())
            unfocus();
    }
}

void SwayWorkspace::focus(const QJsonObject& container)
{
    const int64_t id = container.value("id").toInteger();
    ownerName_ = owner_name(container);
    if (id == container_)
        return;
    container_ = id;
    const auto pid = int32_t(container.value("pid").toInteger());
    if (pid != pid_) {
        pid_ = pid;
        program_ = nv_process_program(pid_);
    }
}

void SwayWorkspace::unfocus()
{
    container_ = 0;
    pid_ = 0;
    program_.clear();
    ownerName_.clear();
}
