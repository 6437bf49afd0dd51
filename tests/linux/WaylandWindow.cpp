// A Wayland client for the workspace tests: one plain window titled by its argument, shown
// until the process is ended. Copied under another name it is another program.
#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>

namespace {

class Window : public QRasterWindow {
protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(QRect(QPoint(), size()), Qt::darkCyan); }
};

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    Window window;
    window.setTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("window"));
    window.resize(240, 160);
    window.show();
    return app.exec();
}
