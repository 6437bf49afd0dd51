// The tablet and pen layout files: key outlines in picture units and position names.
#include "core/config/NVConfigIO.h"

#include "core/config/NVLanguage.h"
#include "core/config/NVLeafText.h"
#include "core/model/NVText.h"
#include "core/device/libCross/nvParse.h"
#include "core/log/NVLog.h"
#include "core/model/NVLayoutAlloc.h"

namespace {

std::string indexed(const std::string& base, const char* name, int i)
{
    return base + "/" + name + std::to_string(i);
}

// A count of the layout file, kept within the arrays it indexes.
uint32_t layout_count(int32_t v, uint32_t max, const std::string& path)
{
    if (v < 0)
        return 0;
    if (static_cast<uint32_t>(v) <= max)
        return static_cast<uint32_t>(v);
    nv_log("readLayout: %s is %d, only %u are used", path.c_str(), v, max);
    return max;
}

void read_rect(NVConfigIO& io, const std::string& base, NVRect* r)
{
    r->left = io.readNodeIntFromXml(base + "/Left");
    r->top = io.readNodeIntFromXml(base + "/Top");
    r->right = io.readNodeIntFromXml(base + "/Right");
    r->bottom = io.readNodeIntFromXml(base + "/Bottom");
}

void read_key(NVConfigIO& io, const std::string& base, NVLayoutEkey* k)
{
    read_rect(io, base, &k->rect);
    k->centerX = io.readNodeIntFromXml(base + "/CenterX");
    k->centerY = io.readNodeIntFromXml(base + "/CenterY");
}

} // namespace

void NVConfigIO::readTabletLayout(NVLayoutTablet* layout, const NVTabletInfo* ti, const NVConfig* cfg)
{
    NVConfigIO& io = sharedIOInstance();
    io.openXml(nv_file_url(getResPath() + "/res/layout_tablet.xml"));
    const std::string model = std::string("/NVDevices/") + get_dev_type(ti->devType);
    const uint32_t hbtns = layout_count(io.readNodeIntFromXml(model + "/HBtnNum"), NV_EKEY_MAX, model + "/HBtnNum");
    const uint32_t sbtns = layout_count(io.readNodeIntFromXml(model + "/SBtnNum"), NV_EKEY_MAX, model + "/SBtnNum");
    const uint32_t mekeys = layout_count(io.readNodeIntFromXml(model + "/MEKeyNum"), NV_MEKEY_MAX, model + "/MEKeyNum");
    const uint32_t ekNum = hbtns + sbtns + mekeys;
    realloc_NVTabletLayout(ekNum, cfg, layout);

    layout->size.cx = io.readNodeIntFromXml(model + "/Size/Width");
    layout->size.cy = io.readNodeIntFromXml(model + "/Size/Height");
    read_rect(io, model + "/Workarea", &layout->workarea);
    if (ekNum == 0 || layout->ekLayoutsAlloc < ekNum)
        return;
    layout->hbtnNum = hbtns;
    layout->sbtnNum = sbtns;
    layout->mekeyNum = mekeys;
    layout->ekNum = ekNum;
    layout->hbtns = layout->ekLayouts;
    layout->sbtns = layout->hbtns + hbtns;
    layout->mekeys = layout->sbtns + sbtns;

    for (uint32_t d = 0; d < hbtns; ++d)
        read_key(io, indexed(model, "HBtn", static_cast<int>(d)), &layout->hbtns[d]);
    if (sbtns > 0) {
        read_rect(io, model + "/SBtnInRect", &layout->sbtnInRect);
        for (uint32_t d = 0; d < sbtns; ++d)
            read_key(io, indexed(model, "SBtn", static_cast<int>(d)), &layout->sbtns[d]);
    }
    const std::string language = nv_language_element(nv_current_locale_id());
    if (mekeys > layout->mekeyNamesAlloc)
        nv_log("readTabletLayout: %u multi-function keys in the layout, names for %u", mekeys,
               layout->mekeyNamesAlloc);
    for (uint32_t d = 0; d < mekeys; ++d) {
        const std::string key = indexed(model, "MEKey", static_cast<int>(d));
        NVLayoutEkey& k = layout->mekeys[d];
        read_key(io, key, &k);
        k.inRect.left = io.readNodeIntFromXml(key + "/InLeft");
        k.inRect.top = io.readNodeIntFromXml(key + "/InTop");
        k.inRect.right = io.readNodeIntFromXml(key + "/InRight");
        k.inRect.bottom = io.readNodeIntFromXml(key + "/InBottom");
        if (d >= layout->mekeyNamesAlloc)
            continue;
        // The name table was sized from the configuration; the file fills what fits.
        NVMEkeyName& names = layout->mekeyNames[d];
        const int32_t num = io.readNodeIntFromXml(key + "/num");
        const uint32_t positions = layout_count(num, names.num, key + "/num");
        for (uint32_t p = 0; p < positions; ++p) {
            const std::string path = indexed(key, "ekey", static_cast<int>(p)) + "/name/" + language;
            if (!nv_copy_text(names.names[p], NV_STR_MAX, io.readNodeStringFromXml(path).value_or("")))
                nv_log("readTabletLayout: text of %s cut to %d bytes", path.c_str(), NV_STR_MAX - 1);
        }
    }
}

void NVConfigIO::readPenLayout(NVLayoutPen* layout, const std::string& pen)
{
    NVConfigIO& io = sharedIOInstance();
    io.openXml(nv_file_url(getResPath() + "/res/layout_pen.xml"));
    const std::string base = "/NVPens/" + pen;
    const uint32_t n = layout_count(io.readNodeIntFromXml(base + "/BtnNum"), NV_EKEY_MAX, base + "/BtnNum");
    realloc_NVPenLayout(n, layout);
    layout->size.cx = io.readNodeIntFromXml(base + "/Size/Width");
    layout->size.cy = io.readNodeIntFromXml(base + "/Size/Height");
    layout->ekNum = layout->ekLayouts ? n : 0;
    for (uint32_t d = 0; d < layout->ekNum; ++d)
        read_key(io, indexed(base, "Btn", static_cast<int>(d)), &layout->ekLayouts[d]);
}
