#include "platform/linux/ReportingWorkspace.h"

void ReportingWorkspace::report(std::string path, std::string owner)
{
    owner_ = std::move(owner);
    if (path == path_)
        return;
    path_ = std::move(path);
    tell();
}

void ReportingWorkspace::reportFirst()
{
    if (!reported_)
        tell();
}

void ReportingWorkspace::tell()
{
    if (!handler_)
        return;
    reported_ = true;
    handler_(path_);
}
