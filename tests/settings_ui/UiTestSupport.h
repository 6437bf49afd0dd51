// The test process's one QApplication, offscreen, made on first use and destroyed after
// the last test, before the process's statics go.
#pragma once

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace nvtest {

inline std::unique_ptr<QApplication>& ui_app_holder()
{
    static std::unique_ptr<QApplication> app;
    return app;
}

class UiAppEnvironment : public ::testing::Environment {
public:
    void TearDown() override { ui_app_holder().reset(); }
};

inline QApplication& ui_app()
{
    static int argc = 1;
    static char name[] = "settings-ui-test";
    static char* argv[] = {name, nullptr};
    auto& app = ui_app_holder();
    if (!app) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
        ::testing::AddGlobalTestEnvironment(new UiAppEnvironment);
    }
    return *app;
}

} // namespace nvtest
