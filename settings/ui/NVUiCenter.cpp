#include "settings/ui/NVUiCenter.h"

LocalNotificationCenter& nv_ui_center()
{
    static LocalNotificationCenter center;
    return center;
}
