#include "ui/MemoryTable.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace kivo::ui {

using memmgr::kDescColumn;

MemoryTableModel::MemoryTableModel(memmgr::MemoryManager& manager, QObject* parent)
    : QAbstractTableModel(parent), m_manager(manager)
{
}

int MemoryTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : state::kMemCount; }

int MemoryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : memmgr::kColumnCount;
}

QVariant MemoryTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || (role == Qt::EditRole && index.column() == kDescColumn))
        return QString::fromStdString(m_manager.CellText(index.row(), index.column()));
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment h = index.column() == kDescColumn ? Qt::AlignLeft
                                : index.column() == 2         ? Qt::AlignRight
                                                              : Qt::AlignHCenter;
        return QVariant::fromValue(h | Qt::AlignVCenter);
    }
    return {};
}

QVariant MemoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < memmgr::kColumnCount)
        return QString::fromLatin1(memmgr::kHeadings[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags MemoryTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == kDescColumn)
        f |= Qt::ItemIsEditable;
    return f;
}

bool MemoryTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    m_manager.SetDesc(index.row(), value.toString().toStdString());
    emit dataChanged(this->index(index.row(), kDescColumn), this->index(index.row(), kDescColumn));
    return true;
}

void MemoryTableModel::Refresh(memmgr::RowRange rows)
{
    if (!rows.Empty())
        emit dataChanged(index(rows.first, 0), index(rows.last, memmgr::kColumnCount - 1));
}

DescriptionDelegate::DescriptionDelegate(QTableView& view) : QStyledItemDelegate(&view), m_view(view) {}

QWidget* DescriptionDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    auto* editor = new QLineEdit(parent);
    editor->setObjectName(QStringLiteral("Text1"));
    editor->setMaxLength(memmgr::kDescLength);
    editor->setFrame(false);
    m_open = editor;
    return editor;
}

void DescriptionDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    // The cell's text with the cursor at its end.
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(index.data(Qt::EditRole).toString());
        line->end(false);
    }
}

void DescriptionDelegate::PlaceCursorAtEnd()
{
    if (m_open) {
        m_open->deselect();
        m_open->end(false);
    }
}

void DescriptionDelegate::CommitOpenEditor()
{
    if (!m_open)
        return;
    QLineEdit* editor = m_open;
    m_open = nullptr;
    emit commitData(editor);
    emit closeEditor(editor, NoHint);
}

bool DescriptionDelegate::eventFilter(QObject* object, QEvent* event)
{
    auto* editor = qobject_cast<QLineEdit*>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down: {
            const QModelIndex current = m_view.currentIndex();
            CommitOpenEditor();
            const int row = current.row() + (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down ? 1 : -1);
            if (row >= 0 && row < m_view.model()->rowCount())
                m_view.setCurrentIndex(current.siblingAtRow(row));
            return true;
        }
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab: // stays on the row: it has one editable cell
        case Qt::Key_Backtab: CommitOpenEditor(); return true;
        case Qt::Key_Escape: m_open = nullptr; break; // the base class closes without committing
        default: break;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

MemoryTableView::MemoryTableView(QWidget* parent) : QTableView(parent)
{
    setObjectName(QStringLiteral("MSFlexGrid1"));
    setEditTriggers(DoubleClicked | EditKeyPressed);
    setSelectionBehavior(SelectRows);
    setSelectionMode(ContiguousSelection);
    setWordWrap(false);
    verticalHeader()->hide();
    // One fixed height for every row, so the view never measures the 1000 rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    setItemDelegate(new DescriptionDelegate(*this));
}

std::pair<int, int> MemoryTableView::SelectedRows() const
{
    const QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    if (rows.isEmpty())
        return {CurrentRow(), CurrentRow()};
    const auto [lo, hi] = std::minmax_element(
        rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    return {lo->row(), hi->row()};
}

int MemoryTableView::CurrentRow() const { return std::max(currentIndex().row(), 0); }

bool MemoryTableView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (!index.isValid() || trigger == NoEditTriggers || trigger == CurrentChanged)
        return QTableView::edit(index, trigger, event);
    if (!QTableView::edit(index.siblingAtColumn(kDescColumn), trigger, event))
        return false;
    // The view selects a line editor's whole text; typing then would replace the description.
    static_cast<DescriptionDelegate*>(itemDelegate())->PlaceCursorAtEnd();
    return true;
}

} // namespace kivo::ui
