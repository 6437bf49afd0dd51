#include "settings/ui/NVAppContext.h"

NVAppContext& nv_app_context()
{
    static NVAppContext context;
    return context;
}

QString nv_res_file(const char* name)
{
    return QString::fromStdString(nv_app_context().resPath) + "/res/" + QString::fromUtf8(name);
}
