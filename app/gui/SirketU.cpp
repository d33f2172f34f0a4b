#include "app/gui/SirketU.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "app/gui/Widgets.h"

namespace gui {

namespace {

QFont boldFont(int pointSize = 0) {
    QFont f = QApplication::font();
    if (pointSize > 0) f.setPointSize(pointSize);
    f.setBold(true);
    return f;
}

QString fromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

CompanyModel::CompanyModel(QObject* parent) : QAbstractTableModel(parent) {}

void CompanyModel::setList(transfer::CompanyList* list) {
    beginResetModel();
    list_ = list;
    edited_.reset();
    current_ = -1;
    endResetModel();
}

int CompanyModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !list_ ? 0 : static_cast<int>(list_->size());
}

int CompanyModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant CompanyModel::data(const QModelIndex& index, int role) const {
    if (!list_ || !index.isValid() || index.row() >= rowCount()) return {};
    const transfer::CompanyRow& r = list_->row(static_cast<std::size_t>(index.row()));
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        switch (index.column()) {
        case ColYear: return r.CYILI ? QString::number(*r.CYILI) : QString();
        case ColKisaAd: return fromUtf8(r.KISAAD);
        case ColKod: return fromUtf8(r.SIRKETKODU);
        case ColYol: return fromUtf8(r.DBYOLU);
        }
        return {};
    case Qt::FontRole: return boldFont();
    case Qt::TextAlignmentRole:
        return index.column() == ColYear ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                         : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant CompanyModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole) return section == current_ ? QStringLiteral("\u25B8") : QString();
        if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignCenter);
        return {};
    }
    if (role == Qt::FontRole) return boldFont();
    if (role != Qt::DisplayRole) return {};
    switch (section) {
    case ColYear: return QStringLiteral("Çalışma Yılı");
    case ColKisaAd: return QStringLiteral("Kısa Adı");
    case ColKod: return QStringLiteral("Şirket Kodu");
    case ColYol: return QStringLiteral("Dizin Yolu");
    }
    return {};
}

Qt::ItemFlags CompanyModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == ColYear) f |= Qt::ItemIsEditable;
    return f;
}

bool CompanyModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!list_ || role != Qt::EditRole || !index.isValid() || index.column() != ColYear) return false;
    const QString text = value.toString().trimmed();
    std::optional<int> year;
    if (!text.isEmpty()) {
        bool ok = false;
        const int y = text.toInt(&ok);
        if (!ok) return false;  // not a whole number: the cell refuses it
        year = y;
    }
    list_->setYear(static_cast<std::size_t>(index.row()), year);
    edited_ = index.row();
    emit dataChanged(index, index);
    return true;
}

void CompanyModel::setCurrentRow(int row) {
    if (row == current_) return;
    const int previous = current_;
    current_ = row;
    for (int r : {previous, row})
        if (r >= 0 && r < rowCount()) emit headerDataChanged(Qt::Vertical, r, r);
}

void CompanyModel::saveEditedRow() {
    if (!list_ || !edited_) return;
    const int row = *edited_;
    edited_.reset();
    list_->refreshPath(static_cast<std::size_t>(row));
    emit dataChanged(index(row, ColYol), index(row, ColYol));
}

bool CompanyModel::insertRows(int row, int count, const QModelIndex& parent) {
    // Rows can only be appended, and only while the list is being filled.
    if (!list_ || parent.isValid() || count <= 0 || row != rowCount() || list_->ListeYuklendi) return false;
    beginInsertRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i) list_->insertRow(transfer::CompanyRow{});
    endInsertRows();
    return true;
}

bool CompanyModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (!list_ || parent.isValid() || count <= 0 || row < 0 || row + count > rowCount()) return false;
    // The list refuses every deletion; should it ever allow one, the grid is told afterwards.
    bool removed = false;
    for (int i = count - 1; i >= 0; --i) removed = list_->deleteRow(static_cast<std::size_t>(row + i)) || removed;
    if (removed) {
        beginResetModel();
        edited_.reset();
        endResetModel();
    }
    return removed;
}

QValidator::State YearValidator::validate(QString& input, int&) const {
    const QString t = input.trimmed();
    if (t.isEmpty()) return Acceptable;
    if (t == QLatin1String("-")) return Intermediate;
    for (qsizetype i = 0; i < t.size(); ++i)
        if (!t[i].isDigit() && !(i == 0 && t[i] == QLatin1Char('-'))) return Invalid;
    bool ok = false;
    t.toInt(&ok);
    return ok ? Acceptable : Invalid;  // beyond a 32-bit whole number
}

QWidget* YearDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
    auto* e = new QLineEdit(parent);
    e->setFont(boldFont());
    e->setValidator(new YearValidator(e));
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->setFrame(false);
    editor_ = e;
    return e;
}

void YearDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* e = qobject_cast<QLineEdit*>(editor)) e->setText(index.data(Qt::EditRole).toString());
}

void YearDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    auto* e = qobject_cast<QLineEdit*>(editor);
    if (!e || !e->hasAcceptableInput()) return;  // a lone "-" is not a year: the old value stays
    model->setData(index, e->text(), Qt::EditRole);
}

bool YearDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Commit now rather than queued, so that the grid's Enter sees the new year.
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            emit enterPressed();
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

CompanyGrid::CompanyGrid(QWidget* parent) : QTableView(parent), delegate_(new YearDelegate(this)) {
    setItemDelegateForColumn(CompanyModel::ColYear, delegate_);
    setTabKeyNavigation(true);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setShowGrid(true);
    setWordWrap(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setFont(boldFont());
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(12);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    connect(delegate_, &YearDelegate::enterPressed, this, &CompanyGrid::enter);
}

void CompanyGrid::setCompanyModel(CompanyModel* model) {
    model_ = model;
    setModel(model);
    setColumnWidth(CompanyModel::ColYear, 74);
    setColumnWidth(CompanyModel::ColKisaAd, 149);
    setColumnWidth(CompanyModel::ColKod, 95);
    setColumnWidth(CompanyModel::ColYol, 260);
}

void CompanyGrid::commitPending() {
    if (state() != QAbstractItemView::EditingState) return;
    if (QWidget* editor = delegate_->currentEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void CompanyGrid::enter() {
    if (model_ && model_->editedRow() && *model_->editedRow() == currentIndex().row()) model_->saveEditedRow();
    // On to the next cell, as Tab would.
    QWidget* target = QApplication::focusWidget();
    if (!target || (target != this && !isAncestorOf(target))) target = this;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
}

void CompanyGrid::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        enter();
        QTableView::keyPressEvent(event);
        event->accept();  // not the dialog's: Enter must not close it
        return;
    case Qt::Key_Insert:
        // No new row: the list is loaded.
        if (model_) model_->insertRows(model_->rowCount(), 1);
        event->accept();
        return;
    case Qt::Key_Delete:
        if (model_ && (event->modifiers() & Qt::ControlModifier) && currentIndex().isValid())
            model_->removeRows(currentIndex().row(), 1);
        event->accept();
        return;
    case Qt::Key_Down:
        // Moving down past the last row would append one: refused with the rest.
        if (model_ && currentIndex().row() == model_->rowCount() - 1) {
            model_->insertRows(model_->rowCount(), 1);
            event->accept();
            return;
        }
        break;
    default: break;
    }
    QTableView::keyPressEvent(event);
}

void CompanyGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // Leaving a row saves it as it stands; its path is refreshed only by Enter.
    if (model_ && current.row() != previous.row()) model_->leaveRow();
    if (model_) model_->setCurrentRow(current.row());
    QTableView::currentChanged(current, previous);
}

SirketF::SirketF(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      model_(new CompanyModel(this)) {
    setObjectName(QStringLiteral("SirketF"));
    setWindowTitle(QStringLiteral("SirketF"));
    setFixedSize(640, 336);
    setModal(true);

    auto* top = new QLabel(QStringLiteral("Şirket Aktarımı"), this);
    top->setObjectName(QStringLiteral("Panel1"));
    top->setGeometry(0, 0, 640, 41);
    top->setAlignment(Qt::AlignCenter);
    top->setFont(boldFont(12));
    top->setFrameStyle(QFrame::Panel | QFrame::Raised);
    top->setStyleSheet(QStringLiteral("QLabel { color: red; }"));

    auto* listLabel = new QLabel(QStringLiteral("Şirket Listesi"), this);
    listLabel->setObjectName(QStringLiteral("Label1"));
    listLabel->setFont(boldFont());
    listLabel->move(8, 48);
    listLabel->adjustSize();

    grid_ = new CompanyGrid(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setGeometry(8, 64, 617, 201);
    grid_->setCompanyModel(model_);

    continue_ = new FlatButton(QStringLiteral("Upgrade İşlemine Devam Et"), QColor(0, 128, 255),
                               FlatButton::Hover::Edge, this);
    continue_->setObjectName(QStringLiteral("Devam"));
    QFont bf(QStringLiteral("Arial"), 10);
    bf.setBold(true);
    continue_->setFont(bf);
    continue_->setGeometry(208, 272, 225, 30);
    continue_->setAutoDefault(false);
    continue_->setDefault(false);
    connect(continue_, &QPushButton::clicked, this, &QDialog::accept);

    auto* note = new QLabel(
        QStringLiteral(" Not : Selvanto 5 Şirket sistemi Şirket + Yıl sistemine bağlı çalıştığı için Mirkado 4 "
                       "veya Kobaltin dan upgradde şirket yol sistemini değiştirebilirsiniz..."),
        this);
    note->setObjectName(QStringLiteral("Not"));
    note->setGeometry(0, 336 - 26, 640, 26);
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);
    note->setFont(boldFont());
    note->setStyleSheet(QStringLiteral("QLabel { color: red; }"));

    setTabOrder(grid_, continue_);
}

void SirketF::setList(transfer::CompanyList* list) { model_->setList(list); }

void SirketF::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(this);
    if (model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, CompanyModel::ColYear));
    grid_->setFocus(Qt::OtherFocusReason);
}

void SirketF::keyPressEvent(QKeyEvent* event) {
    // No cancel: Esc closes nothing here (in the grid it undoes a cell edit).
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter: event->accept(); return;
    default: QDialog::keyPressEvent(event);
    }
}

void SirketF::done(int result) {
    // However the dialog is left, a year typed but not confirmed counts.
    grid_->commitPending();
    model_->leaveRow();
    QDialog::done(result);
}

}  // namespace gui
