// The desktop's frontmost application, as the window system reports it.
#pragma once

#include <functional>
#include <string>

class Workspace {
public:
    // Called with the activated application's path (its executable).
    using ActivationHandler = std::function<void(const std::string& appPath)>;

    virtual ~Workspace() = default;
    // Owner name of the frontmost window, cached when it was activated: cheap enough to
    // ask on every pen report.
    virtual const std::string& frontmostOwnerName() const = 0;
    virtual void setActivationHandler(ActivationHandler handler) = 0;
};
