// Draws every picture of the settings application and the update helper into the res
// folder given as the only argument: a tablet picture per model from its layout, a pen
// picture per pen node, the brand pictures and the status item's icon file. Reads the
// layout and default configuration files already in that folder.
// With --icons DIR NAME it draws the application icon for the desktop's icon theme instead.
#include "core/config/NVConfigIO.h"
#include "core/device/NVModelTable.h"
#include "core/device/libCross/nvParse.h"
#include "core/model/NVLayoutAlloc.h"
#include "tools/picgen/NVBrandPictures.h"
#include "tools/picgen/NVIcoFile.h"
#include "tools/picgen/NVIconTheme.h"
#include "tools/picgen/NVPenPicture.h"
#include "tools/picgen/NVPicLayouts.h"
#include "tools/picgen/NVPicCanvas.h"
#include "tools/picgen/NVTabletPicture.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

namespace {

bool write_tablet(const QString& res, const NVModelInfo& m)
{
    NVLayoutTablet layout{};
    const NVTabletLook look{nv_pic_brand(m.oemType), m.bMonitor != 0};
    const bool ok = nv_pic_read_tablet_layout(m, &layout)
                    && nv_pic_save_both(res + "/tablet_" + get_dev_type(m.devType) + ".png",
                                 [&](int scale) { return nv_draw_tablet(layout, look, scale); });
    free_NVTabletLayout(&layout);
    return ok;
}

bool write_pen(const QString& res, const std::string& pen)
{
    NVLayoutPen layout{};
    NVConfigIO::readPenLayout(&layout, pen);
    bool ok = layout.size.cx > 0 && layout.size.cy > 0;
    if (!ok)
        std::fprintf(stderr, "nuvro-picgen: no pen layout for %s\n", pen.c_str());
    ok = ok && nv_pic_save_both(res + "/pen_" + QString::fromStdString(pen) + ".png",
                         [&](int scale) { return nv_draw_pen(layout, NVPicBrand::Nuvro, scale); });
    free_NVPenLayout(&layout);
    return ok;
}

bool write_icon(const QString& path)
{
    const QByteArray bytes = nv_ico_bytes({nv_draw_app_icon(16), nv_draw_app_icon(32)});
    QFile file(path);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
           && file.flush();
}

} // namespace

int main(int argc, char** argv)
{
    const bool icons = argc == 4 && std::strcmp(argv[1], "--icons") == 0;
    if (argc != 2 && !icons) {
        std::fprintf(stderr, "usage: nuvro-picgen RES_FOLDER\n       nuvro-picgen --icons DIR NAME\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    if (icons) {
        if (nv_write_icon_theme(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3])))
            return 0;
        std::fprintf(stderr, "nuvro-picgen: cannot write the icon theme into %s\n", argv[2]);
        return 1;
    }
    const QString res = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    nv_set_res_path(QDir::cleanPath(res + "/..").toStdString());

    bool ok = true;
    std::set<std::string> pens = {NV_PEN_STANDARD};
    for (auto list : {nv_maker_models(), nv_oem_models()}) {
        for (const NVModelInfo& m : list) {
            ok = write_tablet(res, m) && ok;
            pens.insert(get_pen_node_in_xml(m.devType));
        }
    }
    for (const std::string& pen : pens)
        ok = write_pen(res, pen) && ok;
    for (const NVPicture& picture : nv_brand_pictures()) {
        const auto drawAt = [&](int scale) { return nv_pic_render(picture.size, scale, picture.draw); };
        if (!nv_pic_save_both(res + "/" + picture.name, drawAt)) {
            std::fprintf(stderr, "nuvro-picgen: cannot write %s\n", qPrintable(picture.name));
            ok = false;
        }
    }
    if (!write_icon(res + "/32.ico")) {
        std::fprintf(stderr, "nuvro-picgen: cannot write 32.ico\n");
        ok = false;
    }
    return ok ? 0 : 1;
}
