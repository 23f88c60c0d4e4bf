#pragma once
// The memory manager's table (`MSFlexGrid1`) as Qt model/view over the working copy: the view
// draws only the rows in sight, so all 1000 are there at once. The in-cell editor (`Text1`)
// always edits the description of the current row.

#include "memmgr/MemoryManager.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>

#include <utility>

class QLineEdit;

namespace kivo::ui {

class MemoryTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MemoryTableModel(memmgr::MemoryManager& manager, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The editor's commit: the row's description, cut to 49 characters.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Draws the rows an edit command changed again.
    void Refresh(memmgr::RowRange rows);

private:
    memmgr::MemoryManager& m_manager;
};

// Esc closes it without committing; Enter commits; up and down arrows commit and move one row
// (not past the first or last). Any other way of leaving the cell commits too.
class DescriptionDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit DescriptionDelegate(QTableView& view);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    // Commits and closes the editor when one is open.
    void CommitOpenEditor();
    // Unselects the open editor's text and puts the cursor after it.
    void PlaceCursorAtEnd();

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    QTableView& m_view;
    mutable QPointer<QLineEdit> m_open;
};

class MemoryTableView final : public QTableView {
    Q_OBJECT
public:
    explicit MemoryTableView(QWidget* parent = nullptr);

    // First and last row of the selection; the current row when nothing is selected.
    std::pair<int, int> SelectedRows() const;
    int CurrentRow() const;

protected:
    // F2 and a double click edit the description, whichever cell of the row is current.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
};

} // namespace kivo::ui
