#include "tools/picgen/NVPicLayouts.h"

#include "core/config/NVConfigIO.h"

#include <cstdio>
#include <memory>

namespace {

NVTabletInfo tablet_info(const NVModelInfo& m)
{
    NVTabletInfo ti{};
    ti.devType = m.devType;
    ti.oemType = m.oemType;
    ti.maxX = m.maxX;
    ti.maxY = m.maxY;
    ti.maxP = m.maxP;
    ti.lpi = m.lpi;
    ti.rate = m.rate;
    ti.hbtnNum = m.hbtnNum;
    ti.sbtnNum = m.sbtnNum;
    ti.pbtnNum = m.pbtnNum;
    ti.bMonitor = m.bMonitor;
    return ti;
}

} // namespace

bool nv_pic_read_tablet_layout(const NVModelInfo& m, NVLayoutTablet* layout)
{
    const NVTabletInfo ti = tablet_info(m);
    auto cfg = std::make_unique<NVConfig>();
    if (!NVConfigIO::readXml(nv_config_default_path(), cfg.get(), &ti)) {
        std::fprintf(stderr, "nuvro-picgen: no default configuration for %s\n", m.identity);
        return false;
    }
    NVConfigIO::readTabletLayout(layout, &ti, cfg.get());
    if (layout->size.cx > 0 && layout->size.cy > 0)
        return true;
    std::fprintf(stderr, "nuvro-picgen: no tablet layout for %s\n", m.identity);
    return false;
}
