// The company list dialog SirketF: the operator gives each source company its working year.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QValidator>
#include <optional>

#include "transfer/company/CompanyList.h"

namespace gui {

// RSirket_T as the grid sees it. Only the working year is editable; rows cannot be inserted or removed
// once the list is loaded (the list itself refuses).
class CompanyModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColYear = 0, ColKisaAd = 1, ColKod = 2, ColYol = 3, ColumnCount = 4 };

    explicit CompanyModel(QObject* parent = nullptr);
    void setList(transfer::CompanyList* list);
    transfer::CompanyList* list() const { return list_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    bool insertRows(int row, int count, const QModelIndex& parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

    // The row whose year was changed and not yet saved with Enter (the dataset's edit state).
    std::optional<int> editedRow() const { return edited_; }
    void leaveRow() { edited_.reset(); }
    // Enter: DBYOLU follows the edited year, and the row is saved.
    void saveEditedRow();
    // The row indicator follows the grid's current row.
    void setCurrentRow(int row);

private:
    transfer::CompanyList* list_ = nullptr;
    int current_ = -1;
    std::optional<int> edited_;
};

// Whole numbers only; an empty cell is allowed.
class YearValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

class YearDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    QWidget* currentEditor() const { return editor_; }

signals:
    void enterPressed();

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    mutable QPointer<QWidget> editor_;
};

class CompanyGrid : public QTableView {
    Q_OBJECT
public:
    explicit CompanyGrid(QWidget* parent = nullptr);
    void setCompanyModel(CompanyModel* model);
    // A working year typed but not confirmed goes into the list.
    void commitPending();
    YearDelegate* yearDelegate() const { return delegate_; }
    bool editing() const { return state() == QAbstractItemView::EditingState; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void enter();
    CompanyModel* model_ = nullptr;
    YearDelegate* delegate_;
};

class SirketF : public QDialog {
    Q_OBJECT
public:
    explicit SirketF(QWidget* parent = nullptr);

    // The list shown by the next showing; the run core fills it before.
    void setList(transfer::CompanyList* list);

    CompanyGrid* grid() const { return grid_; }
    CompanyModel* model() const { return model_; }
    QPushButton* continueButton() const { return continue_; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    CompanyModel* model_;
    CompanyGrid* grid_;
    QPushButton* continue_;
};

}  // namespace gui
