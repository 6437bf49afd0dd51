#include "settings/ui/NVAppListTableCellView.h"

#include "settings/ui/NVOutlet.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr int kImageSide = 56;
constexpr int kTitleWidthForTip = 199;

QPushButton* row_button(QWidget* parent, const char* outlet, const char* key, const char* themeIcon,
                        QStyle::StandardPixmap fallback)
{
    auto* b = nv_outlet(new QPushButton(parent), outlet, qtTrId(key));
    b->setIcon(QIcon::fromTheme(themeIcon, parent->style()->standardIcon(fallback)));
    b->setToolTip(qtTrId(key));
    b->setFlat(true);
    b->setFixedSize(28, 28);
    return b;
}

} // namespace

NVAppListTableCellView::NVAppListTableCellView(const QString& title, bool isDefault, QWidget* parent)
    : QWidget(parent)
{
    _imageView = nv_outlet(new QLabel(this), "_imageView", title);
    _imageView->setFixedSize(kImageSide, kImageSide);
    _imageView->setAlignment(Qt::AlignCenter);
    _imageView->hide();
    progessIndicator = nv_outlet(new QProgressBar(this), "progessIndicator", title);
    progessIndicator->setRange(0, 0);
    progessIndicator->setTextVisible(false);
    progessIndicator->setFixedSize(kImageSide, 8);

    titleTextField = nv_outlet(new QLabel(title, this), "titleTextField", title);
    QFont bold = titleTextField->font();
    bold.setBold(true);
    bold.setPixelSize(15);
    titleTextField->setFont(bold);
    titleTextField->setStyleSheet("color: #404040;");
    titleTextField->setTextInteractionFlags(Qt::NoTextInteraction);
    if (QFontMetrics(bold).horizontalAdvance(title) > kTitleWidthForTip)
        setToolTip(title);
    titleTextField->setMinimumWidth(40);

    searchBtn = row_button(this, "searchBtn", "str_AL_reveal", "system-search", QStyle::SP_DirOpenIcon);
    removeBtn = row_button(this, "removeBtn", "str_AL_remove", "list-remove", QStyle::SP_DialogDiscardButton);
    // The default context is always there and has no file of its own.
    searchBtn->setVisible(!isDefault);
    removeBtn->setVisible(!isDefault);
    connect(searchBtn, &QPushButton::clicked, this, &NVAppListTableCellView::searchClicked);
    connect(removeBtn, &QPushButton::clicked, this, &NVAppListTableCellView::removeClicked);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(_imageView);
    layout->addWidget(progessIndicator);
    layout->addWidget(titleTextField, 1);
    layout->addWidget(searchBtn);
    layout->addWidget(removeBtn);
    setFixedHeight(kRowHeight);
}

void NVAppListTableCellView::setThumbnail(const QImage& thumbnail)
{
    if (thumbnail.isNull())
        return;
    _imageView->setPixmap(QPixmap::fromImage(thumbnail).scaled(kImageSide, kImageSide, Qt::KeepAspectRatio,
                                                               Qt::SmoothTransformation));
    progessIndicator->hide();
    _imageView->show();
}

bool NVAppListTableCellView::isLoading() const
{
    return !progessIndicator->isHidden();
}

QString NVAppListTableCellView::title() const
{
    return titleTextField->text();
}
