// The per-application list window: the tablet's application contexts (the default one first);
// adds, removes and reveals applications and picks the context the other pages edit.
#pragma once

#include "core/channel/NotificationCenter.h"
#include "platform/linux/NVExecPath.h"
#include "settings/logic/NVAppList.h"

#include <QDBusConnection>
#include <QImage>
#include <QRect>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;
class NVAppListTableCellView;
struct NVDesktopEntry;

// Posted on the application's own centre when the user picked the context to edit.
inline constexpr const char* nvUiSelectedAppStartEdit = "selectedAppStartEdit";

class NVThirdPartAppListController : public QWidget {
    Q_OBJECT
public:
    // Reads the contexts of the connected tablet (g_ui.ti) from the user file.
    explicit NVThirdPartAppListController(QWidget* parent = nullptr);
    ~NVThirdPartAppListController() override;

    // A new controller placed beside the main window and brought to the front.
    static NVThirdPartAppListController* showForMainWindow(QWidget* mainWindow);

    // Stores the main window's frame and places the list window beside it.
    void setMainWindowFrame(const QRect& frame);
    QRect mainWindowFrame() const { return m_mainWindowFrame; }
    // The bus the file manager is asked on (the session bus unless set).
    void setBus(const QDBusConnection& bus) { bus_ = bus; }

    // Actions of the window's buttons.
    void btnInsertNewRow();
    // Adds the application of a desktop file, or an executable file.
    void addApplication(const QString& chosenFile);
    void btnRemoveRowClick(int row);
    void btnStartEdit();
    void btnRevealInFinderSelected(int row);

    int rowCount() const { return static_cast<int>(tableContents_.size()); }
    const NVAppListEntry& entryAt(int row) const { return tableContents_.at(row).entry; }
    NVAppListTableCellView* cellAt(int row) const;
    int selectedRow() const;

private:
    struct Installed {
        std::string desktopFile;
        std::string name;
        std::string icon;
        NVProgram program;
    };
    struct Row {
        NVAppListEntry entry;
        QString title;
        std::string icon; // theme name or file for the loader; empty: no icon of its own
    };

    const std::vector<Installed>& installed();
    const std::vector<NVDesktopEntry>& desktopEntries();
    Row rowFor(const NVAppListEntry& entry);
    void insertRow(int at, Row row);
    void loadImage(const Row& row, NVAppListTableCellView* cell);
    void selectRow(int row);
    void refuse(const char* messageKey);

    QRect m_mainWindowFrame;
    QDBusConnection bus_;
    QListWidget* tableViewMain;
    QPushButton* btnInsertNewRow_;
    QPushButton* btnStartEdit_;
    std::vector<Row> tableContents_;
    std::optional<std::vector<NVDesktopEntry>> desktopEntries_;
    std::optional<std::vector<Installed>> installed_;
    NVExecEnv execEnv_;
    NotificationCenter::Token terminateToken_ = 0;
};
