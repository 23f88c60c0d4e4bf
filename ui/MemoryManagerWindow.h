#pragma once
// The memory manager window: the bank check boxes, the table, the edit
// buttons, SAVE and CANCEL over a memmgr::MemoryManager. It decides nothing itself.

#include "memmgr/MemoryManager.h"
#include "ui/MemoryTable.h"
#include "ui/QtDialogs.h"

#include <QDialog>

#include <array>
#include <memory>

class QCheckBox;
class QPushButton;

namespace kivo::ui {

class MemoryManagerWindow final : public QDialog {
    Q_OBJECT
public:
    // Builds the working copy from s.MemData; nothing reaches it before SAVE.
    explicit MemoryManagerWindow(state::ModKIVO& s, QWidget* parent = nullptr);
    ~MemoryManagerWindow() override;

    memmgr::MemoryManager& Manager() { return *m_manager; }
    MemoryTableView* Table() const { return m_table; }
    MemoryTableModel* Model() const { return m_model; }

    // CANCEL; the window's close box too.
    void reject() override;

protected:
    // Escape does not close it: one press too many after an edit would lose every change.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Edit(memmgr::Edit index);
    void Save();

    QtDialogs m_dialogs;
    std::unique_ptr<memmgr::MemoryManager> m_manager;
    MemoryTableModel* m_model = nullptr;
    MemoryTableView* m_table = nullptr;
    DescriptionDelegate* m_delegate = nullptr;
    std::array<QCheckBox*, memmgr::kBankCount> m_banks{};
};

// The Memory menu's "Manager...": the window, modal, centred on the screen, with the busy
// cursor while it is built.
void ShowMemoryManager(QWidget* parent, state::ModKIVO& s);

} // namespace kivo::ui
