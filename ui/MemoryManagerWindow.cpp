#include "ui/MemoryManagerWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

namespace kivo::ui {

namespace {

constexpr int kTwipsPerPixel = 15;

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Buttons never become the default: Enter in the table must not CUT or SAVE.
QPushButton* Button(const char* caption, const char* toolTip, const QString& name)
{
    auto* b = new QPushButton(QString::fromLatin1(caption));
    b->setToolTip(QString::fromLatin1(toolTip));
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

MemoryManagerWindow::MemoryManagerWindow(state::ModKIVO& s, QWidget* parent)
    : QDialog(parent), m_dialogs(this), m_manager(std::make_unique<memmgr::MemoryManager>(s, m_dialogs))
{
    setObjectName(QStringLiteral("frmMemoryManager"));
    setWindowTitle(QString::fromLatin1(memmgr::kCaption));

    auto* menuBar = new QMenuBar(this);
    menuBar->setAccessibleName(QStringLiteral("Menu bar"));
    QMenu* help = menuBar->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&Contents"), this, [this] { m_dialogs.ShowHelp("Contents"); });
    help->addAction(QStringLiteral("&About KIVO FT-817"), this, [this] {
        m_dialogs.MessageBox("KIVO FT-817 " + QApplication::applicationVersion().toStdString(), "About KIVO FT-817",
                             platform::Icon::Information, platform::Buttons::Ok);
    });

    auto* banks = new QVBoxLayout;
    banks->setSpacing(2);
    for (int k = 1; k <= memmgr::kBankCount; ++k) {
        auto* box = new QCheckBox(Q(memmgr::BankCaption(k)));
        box->setObjectName(QStringLiteral("chkBank(%1)").arg(k));
        box->setChecked(m_manager->BankTicked(k));
        connect(box, &QCheckBox::clicked, this, [this, k](bool ticked) { m_manager->chkBank_Click(k, ticked); });
        banks->addWidget(box);
        m_banks[k - 1] = box;
    }
    banks->addStretch();

    m_table = new MemoryTableView;
    m_model = new MemoryTableModel(*m_manager, this);
    m_table->setModel(m_model);
    m_table->setAccessibleName(QStringLiteral("Memories"));
    m_table->horizontalHeader()->setAccessibleName(QStringLiteral("Column headings"));
    m_table->verticalHeader()->setAccessibleName(QStringLiteral("Row headings"));
    m_delegate = static_cast<DescriptionDelegate*>(m_table->itemDelegate());
    // The widths were laid out for a small 8-point font; a larger desktop font widens a column
    // to its heading and its widest text rather than cutting "144.200.00" short.
    const QFontMetrics cells = m_table->fontMetrics();
    const QFontMetrics heads = m_table->horizontalHeader()->fontMetrics();
    constexpr int kPadding = 16;
    const char* const widest[memmgr::kColumnCount] = {"000", "20", "888.888.88", ""};
    int width = 0;
    for (int c = 0; c < memmgr::kColumnCount; ++c) {
        const int w = std::max({memmgr::kColumnTwips[c] / kTwipsPerPixel,
                                cells.horizontalAdvance(QString::fromLatin1(widest[c])) + kPadding,
                                heads.horizontalAdvance(QString::fromLatin1(memmgr::kHeadings[c])) + kPadding});
        m_table->setColumnWidth(c, w);
        width += w;
    }
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setMinimumWidth(width + m_table->verticalScrollBar()->sizeHint().width() + 2 * m_table->frameWidth());
    m_table->setCurrentIndex(m_model->index(0, 0));

    auto* edits = new QHBoxLayout;
    for (int i = 0; i < int(memmgr::kEditCaptions.size()); ++i) {
        QPushButton* b =
            Button(memmgr::kEditCaptions[i], memmgr::kEditToolTips[i], QStringLiteral("btnMemoryEdit(%1)").arg(i));
        connect(b, &QPushButton::clicked, this, [this, i] { Edit(memmgr::Edit(i)); });
        edits->addWidget(b);
    }
    edits->addStretch();
    QPushButton* save = Button(memmgr::kSaveCaption, memmgr::kSaveToolTip, QStringLiteral("cmdSAVE"));
    QPushButton* cancel = Button(memmgr::kCancelCaption, memmgr::kCancelToolTip, QStringLiteral("cmdCANCEL"));
    connect(save, &QPushButton::clicked, this, &MemoryManagerWindow::Save);
    connect(cancel, &QPushButton::clicked, this, &MemoryManagerWindow::reject);
    edits->addWidget(save);
    edits->addWidget(cancel);

    auto* grid = new QGridLayout(this);
    grid->setMenuBar(menuBar);
    grid->addLayout(banks, 0, 0);
    grid->addWidget(m_table, 0, 1);
    grid->addLayout(edits, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    resize(sizeHint().width(), 600);
}

MemoryManagerWindow::~MemoryManagerWindow() = default;

void MemoryManagerWindow::Edit(memmgr::Edit index)
{
    m_delegate->CommitOpenEditor();
    const auto [first, last] = m_table->SelectedRows();
    m_model->Refresh(m_manager->btnMemoryEdit_Click(index, first, last, m_table->CurrentRow()));
}

void MemoryManagerWindow::Save()
{
    m_delegate->CommitOpenEditor();
    if (m_manager->cmdSAVE_Click())
        accept();
}

void MemoryManagerWindow::reject()
{
    m_manager->cmdCANCEL_Click();
    QDialog::reject();
}

void MemoryManagerWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ShowMemoryManager(QWidget* parent, state::ModKIVO& s)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    MemoryManagerWindow window(s, parent);
    QApplication::restoreOverrideCursor();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = window.frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        window.move(r.topLeft());
    }
    window.exec();
}

} // namespace kivo::ui
