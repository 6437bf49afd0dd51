#include "settings/ui/NVThirdPartAppListController.h"

#include "core/config/NVConfigIO.h"
#include "core/config/NVConfigPaths.h"
#include "core/log/NVLog.h"
#include "platform/linux/NVDesktopEntry.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVAppChooser.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVAppIconLoader.h"
#include "settings/ui/NVAppListTableCellView.h"
#include "settings/ui/NVDialogs.h"
#include "settings/ui/NVOutlet.h"
#include "settings/ui/NVReveal.h"
#include "settings/ui/NVUiCenter.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QImage picture(const char* name)
{
    const QImage image(nv_res_file(name));
    return image.isNull() ? QImage() : NVThumbnailImage(image);
}

// Shown when an application's own icon cannot be loaded.
QImage fallback_icon(const QWidget* w)
{
    const QIcon icon = QIcon::fromTheme("application-x-executable", w->style()->standardIcon(QStyle::SP_FileIcon));
    return icon.pixmap(128, 128).toImage();
}

} // namespace

NVThirdPartAppListController::NVThirdPartAppListController(QWidget* parent)
    : QWidget(parent, Qt::Window), bus_(QDBusConnection::sessionBus()), execEnv_(nv_exec_env())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("NVThirdPartAppListController");
    setWindowTitle(qtTrId("str_SET_AppsListTitle"));
    resize(310, 520);

    tableViewMain = nv_outlet(new QListWidget(this), "tableViewMain", qtTrId("str_SET_AppsListTitle"));
    tableViewMain->setSelectionMode(QAbstractItemView::SingleSelection);
    tableViewMain->setStyleSheet("QListWidget::item:selected { background: rgb(230, 230, 230); }");
    connect(tableViewMain, &QListWidget::itemDoubleClicked, this, [this] { btnStartEdit(); });

    btnInsertNewRow_ = nv_outlet(new QPushButton(qtTrId("str_AL_add")), "btnInsertNewRow", qtTrId("str_AL_add"));
    btnStartEdit_ = nv_outlet(new QPushButton(qtTrId("str_AL_edit")), "btnStartEdit", qtTrId("str_AL_edit"));
    btnStartEdit_->setDefault(true);
    connect(btnInsertNewRow_, &QPushButton::clicked, this, [this] { btnInsertNewRow(); });
    connect(btnStartEdit_, &QPushButton::clicked, this, [this] { btnStartEdit(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnInsertNewRow_);
    buttons->addStretch(1);
    buttons->addWidget(btnStartEdit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tableViewMain, 1);
    layout->addLayout(buttons);

    for (const std::string& appPath : NVConfigIO::obtainAppPathFromXml({}, &g_ui.cfg, &g_ui.ti))
        insertRow(rowCount(), rowFor(nv_app_entry_for_app_path(appPath)));
    selectRow(currentAppIndex < rowCount() ? currentAppIndex : 0);

    QPointer<NVThirdPartAppListController> self(this);
    terminateToken_ = nv_ui_center().observe(nvUiApplicationTerminate, [self](const std::string&, const NVPlistDict&) {
        if (self)
            self->close();
    });
}

NVThirdPartAppListController::~NVThirdPartAppListController()
{
    nv_ui_center().removeObserver(terminateToken_);
}

NVThirdPartAppListController* NVThirdPartAppListController::showForMainWindow(QWidget* mainWindow)
{
    auto* list = new NVThirdPartAppListController;
    if (mainWindow)
        list->setMainWindowFrame(mainWindow->frameGeometry());
    list->show();
    list->raise();
    list->activateWindow();
    return list;
}

void NVThirdPartAppListController::setMainWindowFrame(const QRect& frame)
{
    m_mainWindowFrame = frame;
    const NVWindowRect r = nv_app_list_placement(nv_app_context().bundle.flavour,
                                                 {frame.x(), frame.y(), frame.width(), frame.height()});
    setGeometry(r.x, r.y, r.width, r.height);
}

const std::vector<NVDesktopEntry>& NVThirdPartAppListController::desktopEntries()
{
    if (!desktopEntries_)
        desktopEntries_ = nv_list_applications(nv_application_dirs(), nv_messages_locale());
    return *desktopEntries_;
}

const std::vector<NVThirdPartAppListController::Installed>& NVThirdPartAppListController::installed()
{
    if (!installed_) {
        installed_.emplace();
        for (const NVDesktopEntry& e : desktopEntries())
            installed_->push_back({e.file.string(), e.name, e.icon, nv_resolve_exec(e.exec, execEnv_)});
    }
    return *installed_;
}

NVThirdPartAppListController::Row NVThirdPartAppListController::rowFor(const NVAppListEntry& entry)
{
    Row row{entry, QString::fromStdString(entry.appName), {}};
    if (entry.kind != NVAppEntryKind::File)
        return row;
    const std::string path = nv_path_of_url(entry.fileURL);
    row.title = QFileInfo(QString::fromStdString(path)).fileName();
    for (const Installed& app : installed()) {
        if (app.program.path == path) {
            row.title = QString::fromStdString(app.name);
            row.icon = app.icon;
            break;
        }
    }
    return row;
}

void NVThirdPartAppListController::insertRow(int at, Row row)
{
    auto* item = new QListWidgetItem;
    item->setSizeHint(QSize(100, NVAppListTableCellView::kRowHeight));
    tableViewMain->insertItem(at, item);
    auto* cell = new NVAppListTableCellView(row.title, row.entry.kind == NVAppEntryKind::Default);
    cell->setObjectName("MainCell");
    tableViewMain->setItemWidget(item, cell);
    // Rows move when others are added or removed: the row is found again by its cell.
    connect(cell, &NVAppListTableCellView::removeClicked, this, [this, cell] {
        for (int r = 0; r < rowCount(); ++r)
            if (cellAt(r) == cell)
                return btnRemoveRowClick(r);
    });
    connect(cell, &NVAppListTableCellView::searchClicked, this, [this, cell] {
        for (int r = 0; r < rowCount(); ++r)
            if (cellAt(r) == cell)
                return btnRevealInFinderSelected(r);
    });
    loadImage(row, cell);
    tableContents_.insert(tableContents_.begin() + at, std::move(row));
}

void NVThirdPartAppListController::loadImage(const Row& row, NVAppListTableCellView* cell)
{
    switch (row.entry.kind) {
    case NVAppEntryKind::Default:
        cell->setThumbnail(picture("appList.png"));
        return;
    case NVAppEntryKind::Missing:
        cell->setThumbnail(picture("GenericQuestionMarkIcon.png"));
        return;
    case NVAppEntryKind::File:
        break;
    }
    QPointer<NVAppListTableCellView> target(cell);
    NVAppIconLoader::load(row.icon, cell, [this, target](const QImage& image) {
        if (target)
            target->setThumbnail(image.isNull() ? fallback_icon(this) : image);
    });
}

NVAppListTableCellView* NVThirdPartAppListController::cellAt(int row) const
{
    QListWidgetItem* item = tableViewMain->item(row);
    return item ? qobject_cast<NVAppListTableCellView*>(tableViewMain->itemWidget(item)) : nullptr;
}

int NVThirdPartAppListController::selectedRow() const
{
    return tableViewMain->currentRow();
}

void NVThirdPartAppListController::selectRow(int row)
{
    tableViewMain->setCurrentRow(row);
    if (QListWidgetItem* item = tableViewMain->item(row))
        tableViewMain->scrollToItem(item);
}

void NVThirdPartAppListController::refuse(const char* messageKey)
{
    nv_alert(this, {qtTrId("str_M_prompt"), qtTrId(messageKey), {qtTrId("str_M_ok")}});
}

void NVThirdPartAppListController::btnInsertNewRow()
{
    const QString chosen = nv_choose_application(this, desktopEntries());
    if (!chosen.isEmpty())
        addApplication(chosen);
}

void NVThirdPartAppListController::addApplication(const QString& chosenFile)
{
    if (nv_app_list_full(tableContents_.size())) {
        nv_log("the list holds %d applications, no more are added", rowCount());
        return;
    }
    const std::string file = chosenFile.toStdString();
    NVProgram program;
    if (chosenFile.endsWith(".desktop")) {
        const auto it = std::find_if(installed().begin(), installed().end(),
                                     [&](const Installed& a) { return a.desktopFile == file; });
        program = it != installed().end() ? it->program
                                          : nv_resolve_exec(nv_read_desktop_entry(file, nv_messages_locale()).exec, execEnv_);
    } else {
        program = nv_resolve_program_file(file, execEnv_);
    }
    if (program.path.empty())
        return refuse("str_AL_not_found");
    // An image runs from a folder mounted anew at each start: no stored path can match it.
    if (program.kind == NVProgramKind::AppImage)
        return refuse("str_AL_appimage");
    const std::string url = nv_file_url(program.path);
    if (!nv_app_path_fits("file://" + program.path))
        return refuse("str_AL_path_too_long");

    const NVAppListEntry entry = nv_app_entry_for_url(url);
    std::vector<NVAppListEntry> listed;
    for (const Row& r : tableContents_)
        listed.push_back(r.entry);
    if (const auto row = nv_app_list_find(listed, entry.nodeName)) {
        nv_log("xml中已包含该app..");
        return selectRow(static_cast<int>(*row));
    }
    const size_t before = NVConfigIO::readAppListWithTabletInfo(&g_ui.ti).size();
    if (before == 0 || nv_app_list_full(before))
        return;
    NVConfigIO::createAppNodeInXml({}, url, &g_ui.ti);
    // The record takes the context only when the file has it, with the file's own appPath.
    const std::vector<std::string> paths = NVConfigIO::obtainAppPathFromXml({}, &g_ui.cfg, &g_ui.ti);
    if (NVConfigIO::readAppListWithTabletInfo(&g_ui.ti).size() != before + 1 || paths.size() != before + 1) {
        nv_log("the application %s was not added to the user file", url.c_str());
        return;
    }
    nv_cfg_add_context(g_ui.cfg, static_cast<int>(before), paths.back());
    NVConfigIO::synchronousCfgData(&g_ui.cfg);
    insertRow(1, rowFor(entry));
    selectRow(1);
}

void NVThirdPartAppListController::btnRemoveRowClick(int row)
{
    if (row <= 0 || row >= rowCount())
        return;
    const NVAppListEntry entry = tableContents_[row].entry;
    if (entry.kind == NVAppEntryKind::Default)
        return;
    // The context is found by name: rows and contexts are ordered differently once an
    // application was added in this window.
    const std::vector<std::string> names = NVConfigIO::readAppListWithTabletInfo(&g_ui.ti);
    const auto index = nv_context_index(names, entry.nodeName);
    if (index && *index > 0) {
        NVConfigIO::removeAppNodeInXml({}, entry.nodeName, &g_ui.ti);
        if (NVConfigIO::readAppListWithTabletInfo(&g_ui.ti).size() == names.size()) {
            nv_log("the context %s stays in the user file", entry.nodeName.c_str());
            return;
        }
        nv_cfg_remove_context(g_ui.cfg, *index);
        NVConfigIO::synchronousCfgData(&g_ui.cfg);
    }
    delete tableViewMain->takeItem(row);
    tableContents_.erase(tableContents_.begin() + row);
    selectRow(0);
    currentAppIndex = 0;
}

void NVThirdPartAppListController::btnStartEdit()
{
    const int row = selectedRow();
    const std::string name = row >= 0 && row < rowCount() ? tableContents_[row].entry.nodeName : "Default";
    if (const auto index = nv_context_index(NVConfigIO::readAppListWithTabletInfo(&g_ui.ti), name))
        currentAppIndex = *index;
    nv_log("currentAppIndex: %d", currentAppIndex);
    // Closed rather than hidden: every opening makes a new window.
    close();
    nv_ui_center().post(nvUiSelectedAppStartEdit, {});
}

void NVThirdPartAppListController::btnRevealInFinderSelected(int row)
{
    if (row <= 0 || row >= rowCount())
        return;
    nv_reveal_file(bus_, QString::fromStdString(nv_path_of_url(tableContents_[row].entry.fileURL)));
}
