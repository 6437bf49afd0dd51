// A connected model in g_ui (configuration, layouts, key names) for the page tests, with
// the build's resources and translations, and the dialogs answered by the test.
#pragma once

#include "core/config/NVConfigIO.h"
#include "core/config/NVConfigPaths.h"
#include "core/device/NVModelTable.h"
#include "core/device/libCross/nvParse.h"
#include "settings/logic/NVKeyLayout.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVDialogs.h"
#include "settings/ui/NVTranslations.h"

#include "tests/settings_ui/UiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

class KeyPagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        NVAppContext& ctx = nv_app_context();
        ctx.resPath = nvtest::resources_dir().string();
        ctx.bundle = nv_read_bundle_info(ctx.resPath);
        nv_set_res_path(ctx.resPath);
        static bool translated = nv_install_translator(app, ctx.resPath);
        (void)translated;
        nv_set_current_key_layout(NVKeyLayout::fromNames("us"));
        std::memset(&g_ui, 0, sizeof g_ui);
        nv_ui_globals_init();
        currentAppIndex = 0;
        answers.file = [this](const QString&) { return chosenFile; };
        nv_set_dialog_answers(&answers);
    }
    void TearDown() override
    {
        nv_set_dialog_answers(nullptr);
        nv_ui_globals_free();
        nv_set_res_path({});
    }
    // The tablet of that model is connected, with its default configuration.
    void connect(const char* identity)
    {
        const NVModelInfo* m = nv_model_by_identity(identity);
        ASSERT_NE(m, nullptr) << identity;
        g_ui.ti = nv_model_tablet_info(*m);
        NVConfigIO::readDefaultConfig(&g_ui.cfg, &g_ui.ti);
        NVConfigIO::readPenLayout(&g_ui.penLayout, get_pen_node_in_xml(g_ui.ti.devType));
        NVConfigIO::readTabletLayout(&g_ui.tabletLayout, &g_ui.ti, &g_ui.cfg);
        g_ui.bTabletOpened = true;
    }
    // Runs act on the next modal dialog once it shows (the dialog is then closed by act).
    static void onNextModal(std::function<void(QWidget&)> act)
    {
        QTimer::singleShot(0, [act] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            act(*modal);
        });
    }

    QApplication& app = nvtest::ui_app();
    nvtest::ScopedConfigHome home;
    NVDialogAnswers answers;
    QString chosenFile;
};
