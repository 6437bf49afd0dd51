#include "tools/picgen/NVPicLayouts.h"

#include "core/config/NVConfigIO.h"

#include <cstdio>
#include <memory>

bool nv_pic_read_tablet_layout(const NVModelInfo& m, NVLayoutTablet* layout)
{
    const NVTabletInfo ti = nv_model_tablet_info(m);
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
