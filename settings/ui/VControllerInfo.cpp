#include "settings/ui/VControllerInfo.h"

#include "core/config/NVConfigIO.h"
#include "core/device/libCross/nvParse.h"
#include "core/log/NVLog.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVDialogs.h"
#include "settings/ui/NVOutlet.h"
#include "settings/ui/NVUiCenter.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QUrl>

#include <cstring>

namespace {

constexpr const char* kWebSite = "https://nuvro.example.com/";
constexpr const char* kWebSiteZh = "https://nuvro.example.com/zh/";

bool confirm(QWidget* parent, const char* messageKey)
{
    return nv_alert(parent, {qtTrId("str_M_prompt"), qtTrId(messageKey),
                             {qtTrId("str_M_default_OK"), qtTrId("str_M_default_Cancel")}}) == 0;
}

QPushButton* picture_button(const QString& picture, const char* outlet, const QString& name)
{
    auto* b = nv_outlet(new QPushButton, outlet, name);
    const QPixmap pix(picture);
    b->setIcon(pix);
    b->setIconSize(pix.size());
    b->setFlat(true);
    return b;
}

} // namespace

InfoView::InfoView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void InfoView::keyPressEvent(QKeyEvent* event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    // The letter itself, whatever the modifiers made of its text.
    std::string chars;
    if (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)
        chars = static_cast<char>('a' + (event->key() - Qt::Key_A));
    else if (!control)
        return QWidget::keyPressEvent(event);
    const NVHiddenLabel which = keys_.keyDown(chars, control);
    if (control)
        nv_log("key down %s", chars.c_str());
    if (which != NVHiddenLabel::None) {
        const std::string firmware(g_ui.ti.sDevVer, strnlen(g_ui.ti.sDevVer, sizeof g_ui.ti.sDevVer));
        emit didChangelabelCompany(QString::fromStdString(nv_hidden_label_text(which, firmware)));
    }
    if (!control)
        QWidget::keyPressEvent(event);
}

VControllerInfo::VControllerInfo(QWidget* parent) : NVSubViewController(parent)
{
    const NVAppContext& app = nv_app_context();
    _infoView = nv_outlet(new InfoView(this), "_infoView", qtTrId("str_M_info"));
    const NVFlavour flavour = app.bundle.flavour;
    const QString logo = nv_res_file(flavour == NVFlavour::Primary ? "NuvroUI/Nuvro_logo.png" : "KeltaUI/Kelta_logo.png");
    const QString banner = nv_res_file(flavour == NVFlavour::Primary ? "NuvroUI/BANNER.jpg" : "KeltaUI/Kelta_logo.png");
    _btnWeb = picture_button(banner, "_btnWeb", qtTrId("str_I_web"));
    _btnLogo = picture_button(logo, "_btnLogo", qtTrId("str_I_logo"));
    _imgTablet = nv_outlet(new QLabel, "_imgTablet", qtTrId("str_M_tablet_picture"));
    _imgTablet->setAlignment(Qt::AlignCenter);
    _imgTablet->setMinimumHeight(210);
    _labelCompany = nv_outlet(new QLabel(qtTrId("str_I_company")), "_labelCompany", qtTrId("str_I_company"));
    _labelCopyright = nv_outlet(new QLabel(qtTrId("str_I_copyright")), "_labelCopyright", qtTrId("str_I_copyright"));
    _labelVersion = nv_outlet(new QLabel(qtTrId("str_I_version") + " " + QString::fromStdString(app.bundle.version)),
                              "_labelVersion", qtTrId("str_I_version"));
    _btnImport = nv_outlet(new QPushButton(qtTrId("str_M_import")), "_btnImport", qtTrId("str_M_import"));
    _btnExport = nv_outlet(new QPushButton(qtTrId("str_M_export")), "_btnExport", qtTrId("str_M_export"));
    _btnDefault = nv_outlet(new QPushButton(qtTrId("str_M_default")), "_btnDefault", qtTrId("str_M_default"));

    auto* grid = new QGridLayout(_infoView);
    // The banner heads the page; the small logo signs the company lines beside it.
    grid->addWidget(_btnWeb, 0, 0, 1, 3, Qt::AlignHCenter);
    grid->addWidget(_imgTablet, 1, 0, 1, 3);
    grid->addWidget(_labelCompany, 2, 0, 1, 2);
    grid->addWidget(_labelCopyright, 3, 0, 1, 2);
    grid->addWidget(_labelVersion, 4, 0, 1, 2);
    grid->addWidget(_btnLogo, 2, 2, 3, 1, Qt::AlignRight | Qt::AlignBottom);
    grid->addWidget(_btnImport, 5, 0);
    grid->addWidget(_btnExport, 5, 1);
    grid->addWidget(_btnDefault, 5, 2);
    grid->setRowStretch(1, 1);
    auto* outer = new QGridLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(_infoView, 0, 0);

    connect(_infoView, &InfoView::didChangelabelCompany, this, [this](const QString& text) {
        QFont font("Helvetica");
        font.setBold(true);
        font.setPixelSize(16);
        _labelCompany->setFont(font);
        _labelCompany->setText(text);
    });
    connect(_btnImport, &QPushButton::clicked, this, &VControllerInfo::clickImport);
    connect(_btnExport, &QPushButton::clicked, this, &VControllerInfo::clickExport);
    connect(_btnDefault, &QPushButton::clicked, this, &VControllerInfo::clickDefualtConfig);
    connect(_btnWeb, &QPushButton::clicked, this, &VControllerInfo::clickWeb);
    connect(_btnLogo, &QPushButton::clicked, this, &VControllerInfo::clickLogo);
    _infoView->setFocus();
    updateNVConfigToView();
}

void VControllerInfo::updateNVConfigToView()
{
    const bool opened = g_ui.bTabletOpened;
    _btnImport->setEnabled(opened);
    _btnExport->setEnabled(opened);
    _btnDefault->setEnabled(opened);
    const QPixmap tablet(opened ? nv_res_file((std::string("tablet_") + get_dev_type(g_ui.ti.devType) + ".png").c_str())
                                : QString());
    _imgTablet->setPixmap(tablet.isNull() ? QPixmap()
                                          : tablet.scaled(520, 200, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void VControllerInfo::clickImport()
{
    if (!confirm(this, "str_M_import_prompt"))
        return;
    const QString path = nv_open_xml(this, qtTrId("str_I_XML_file_import"));
    if (path.isEmpty())
        return;
    NVAgentRestarter* restarter = nv_app_context().restarter;
    struct NoRestart : NVAgentRestarter {
        void restartAgent() override { nv_log("import: no agent to restart"); }
    } none;
    if (nv_import_configuration(path.toStdString(), &g_ui.cfg, &g_ui.ti, restarter ? *restarter : none) !=
        NVImportResult::Imported) {
        nv_alert(this, {qtTrId("str_M_error"), qtTrId("str_I_XML_file_invalid"), {qtTrId("str_M_ok")}});
        return;
    }
    notifyNVConfigChangedToSubView();
    nv_ui_center().post(nvUiDidImport, {});
}

void VControllerInfo::clickExport()
{
    const QString path = nv_save_xml(this, qtTrId("str_I_XML_file_export"), {});
    if (path.isEmpty())
        return;
    if (!NVConfigIO::saveNVConfig(&g_ui.cfg, path.toStdString(), &g_ui.ti))
        nv_alert(this, {qtTrId("str_M_error"), qtTrId("str_SET_unknowError"), {qtTrId("str_M_ok")}});
}

void VControllerInfo::clickDefualtConfig()
{
    if (!confirm(this, "str_M_default_prompt"))
        return;
    NVConfigIO::readDefaultConfig(&g_ui.cfg, &g_ui.ti);
    currentAppIndex = 0;
    notifyNVConfigChangedToSubView();
    notifyNVConfigChangedToMainView();
}

void VControllerInfo::clickWeb()
{
    QDesktopServices::openUrl(QUrl(kWebSite));
}

void VControllerInfo::clickLogo()
{
    QDesktopServices::openUrl(QUrl(QLocale::system().name().startsWith("zh") ? kWebSiteZh : kWebSite));
}
