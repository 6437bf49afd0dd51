// Where the names of layout-dependent keys come from: the X server's keyboard (also under
// XWayland), its keymap and group in force followed as they change; without an X server,
// the environment's default layout. Every change sets the current key layout and posts
// nvUiKeyLayoutChanged, on which whatever shows key names redraws.
#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;
class XkbKeymap;

class NVKeyLayoutSource : public QObject {
    Q_OBJECT
public:
    // display: the X server to follow; $DISPLAY when null.
    explicit NVKeyLayoutSource(const char* display = nullptr, QObject* parent = nullptr);
    ~NVKeyLayoutSource() override;

    // Whether the names follow an X server's keyboard.
    bool followsServer() const { return x_ != nullptr; }

private:
    void read();
    void publish();

    std::unique_ptr<XkbKeymap> x_;
    std::unique_ptr<QSocketNotifier> notifier_; // after x_: gone before its connection closes
};
