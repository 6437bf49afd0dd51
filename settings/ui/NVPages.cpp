#include "settings/ui/NVPages.h"

#include "settings/ui/VControllerEkey.h"
#include "settings/ui/VControllerInfo.h"
#include "settings/ui/VControllerPen.h"
#include "settings/ui/VControllerWorkarea.h"

NVSubViewController* nv_instantiate_page(std::string_view identifier, QWidget* parent)
{
    NVSubViewController* page = nullptr;
    if (identifier == "VCEkey")
        page = new VControllerEkey(parent);
    else if (identifier == "VCPen")
        page = new VControllerPen(parent);
    else if (identifier == "VCWorkarea")
        page = new VControllerWorkarea(parent);
    else if (identifier == "VCInfo")
        page = new VControllerInfo(parent);
    if (page)
        page->setObjectName(QString::fromUtf8(identifier.data(), static_cast<qsizetype>(identifier.size())));
    return page;
}
