// The info page: brand pictures, versions, the firmware text on request, and Import,
// Export and Default of the whole configuration.
#pragma once

#include "settings/logic/NVHiddenLabel.h"
#include "settings/ui/NVSubViewController.h"

class QLabel;
class QPushButton;

// Takes the keyboard for the page and reports the hidden labels' words.
class InfoView : public QWidget {
    Q_OBJECT
public:
    explicit InfoView(QWidget* parent = nullptr);
    const std::string& strKeydown() const { return keys_.typed(); }

signals:
    void didChangelabelCompany(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    NVHiddenLabelKeys keys_;
};

class VControllerInfo : public NVSubViewController {
    Q_OBJECT
public:
    explicit VControllerInfo(QWidget* parent = nullptr);

    void updateNVConfigToView() override;

    void clickImport();
    void clickExport();
    void clickDefualtConfig();

private:
    void clickWeb();
    void clickLogo();

    InfoView* _infoView;
    QPushButton* _btnWeb;
    QPushButton* _btnLogo;
    QLabel* _imgTablet;
    QLabel* _labelCompany;
    QLabel* _labelCopyright;
    QLabel* _labelVersion;
    QPushButton* _btnImport;
    QPushButton* _btnExport;
    QPushButton* _btnDefault;
};
