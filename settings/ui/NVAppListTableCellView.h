// One row of the per-application list: picture (or a spinner while it loads), the
// application's title, and its reveal and remove buttons.
#pragma once

#include <QImage>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

class NVAppListTableCellView : public QWidget {
    Q_OBJECT
public:
    explicit NVAppListTableCellView(const QString& title, bool isDefault, QWidget* parent = nullptr);

    // A null image keeps the spinner.
    void setThumbnail(const QImage& thumbnail);
    bool isLoading() const;
    QString title() const;

    static constexpr int kRowHeight = 75;

signals:
    void searchClicked();
    void removeClicked();

private:
    QLabel* _imageView;
    QProgressBar* progessIndicator;
    QLabel* titleTextField;
    QPushButton* searchBtn;
    QPushButton* removeBtn;
};
