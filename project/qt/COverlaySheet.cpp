#include "project/qt/COverlaySheet.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

namespace sulcan {

namespace {

QString Q(const char* s) {
    return QString::fromUtf8(s);
}

// Horizontal dialog units to pixels, from the font's average character width.
int DialogUnitsToPixels(int units, const QFont& font) {
    const QString alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const double baseUnit = QFontMetrics(font).horizontalAdvance(alphabet) / 52.0;
    return int(units * baseUnit / 4 + 0.5);
}

// Draws "status\tname" with the name at the list's tab stop; an item is as wide as the tab
// position plus its name plus 10 pixels, which sets the horizontal scroll range.
class TabStopDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        const QStringList parts = plain.text.split('\t');
        plain.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, widget);

        const int tab = DialogUnitsToPixels(kOverlayListTabStop, option.font);
        const QRect text = option.rect.adjusted(2, 0, 0, 0);
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        painter->setPen(
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
        painter->drawText(text, flags, parts.value(0));
        painter->drawText(text.adjusted(tab, 0, 0, 0), flags, parts.mid(1).join(' '));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QString name = index.data().toString().section('\t', 1);
        const int tab = DialogUnitsToPixels(kOverlayListTabStop, option.font);
        size.setWidth(QFontMetrics(option.font).horizontalAdvance(name) + tab + 10);
        return size;
    }
};

}  // namespace

CFileListPage::CFileListPage(FileListPageModel& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      list_(new QListWidget),
      add_(new QPushButton(Q(msg::kOverlayAddFile))),
      remove_(new QPushButton(Q(msg::kOverlayRemoveFile))),
      toggle_(new QPushButton(Q(msg::kOverlayEnableDisable))) {
    list_->setItemDelegate(new TabStopDelegate(list_));
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {add_, remove_, toggle_}) buttons->addWidget(b);
    buttons->addStretch();
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(new QLabel(Q(msg::kOverlayEnabledCaption)));
    listColumn->addWidget(list_);
    listColumn->addWidget(new QLabel(Q(msg::kOverlayDoubleClickHint)));
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(listColumn, 1);
    layout->addLayout(buttons);

    QObject::connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!refreshing_) model_.Select(row);
    });
    QObject::connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        model_.DoubleClick(list_->row(item));
        Refresh();
    });
    QObject::connect(add_, &QPushButton::clicked, this,
                     [this] { Act(&FileListPageModel::AddFile); });
    QObject::connect(remove_, &QPushButton::clicked, this,
                     [this] { Act(&FileListPageModel::RemoveSelected); });
    QObject::connect(toggle_, &QPushButton::clicked, this,
                     [this] { Act(&FileListPageModel::ToggleSelected); });
    Refresh();
}

void CFileListPage::Act(void (FileListPageModel::*action)()) {
    (model_.*action)();
    Refresh();
}

void CFileListPage::Refresh() {
    refreshing_ = true;
    list_->clear();
    for (const std::string& line : model_.lines()) list_->addItem(QString::fromStdString(line));
    list_->setCurrentRow(model_.selection());
    refreshing_ = false;
    remove_->setEnabled(model_.buttonsEnabled());
    toggle_->setEnabled(model_.buttonsEnabled());
}

COverlaySheet::COverlaySheet(OverlaySheetModel& model, QWidget* parent)
    : QDialog(parent), tabs_(new QTabWidget), close_(new QPushButton(Q(msg::kOverlaySheetClose))) {
    setWindowTitle(Q(model.title()));
    setModal(true);
    for (int p = 0; p < OverlaySheetModel::kPageCount; ++p)
        tabs_->addTab(new CFileListPage(model.page(p)), Q(model.page(p).title()));
    close_->setDefault(true);
    QObject::connect(close_, &QPushButton::clicked, this, &QDialog::accept);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(bottom);
    resize(520, 340);
}

CFileListPage* COverlaySheet::page(int index) const {
    return static_cast<CFileListPage*>(tabs_->widget(index));
}

}  // namespace sulcan
