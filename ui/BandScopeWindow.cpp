#include "ui/BandScopeWindow.h"

#include "ui/AboutBox.h"
#include "ui/Accessibility.h"
#include "ui/StripChart.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

namespace kivo::ui {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A caption over a control; a screen reader names the control by it.
QLabel* Caption(const char* text, QWidget* control)
{
    auto* l = new QLabel(QString::fromLatin1(text));
    l->setBuddy(control);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    f.setBold(true);
    l->setFont(f);
    return l;
}

template <std::size_t N> QListWidget* List(const char* name, const std::array<const char*, N>& captions)
{
    auto* list = new QListWidget;
    list->setObjectName(QString::fromLatin1(name));
    for (const char* c : captions)
        list->addItem(QString::fromLatin1(c));
    const int row = list->sizeHintForRow(0);
    list->setFixedHeight(row * 5 + 2 * list->frameWidth());
    list->setFixedWidth(list->sizeHintForColumn(0) + 34);
    return list;
}

} // namespace

BandScopeWindow::BandScopeWindow(panel::Program& prog, QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_prog(prog), m_scope(prog.scope), m_binding(prog.display)
{
    setObjectName(QStringLiteral("frmBandScope"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromLatin1(scope::kCaption));

    auto* current = new QLineEdit;
    auto* centre = new QLineEdit;
    for (int i = 0; i < 2; ++i) {
        QLineEdit* box = i == 0 ? current : centre;
        box->setObjectName(Q(el::txtboxFreq(i)));
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("8888.888.88")) + 16);
        m_binding.Bind(el::txtboxFreq(i), [box](const platform::Element& e) { box->setText(Q(e.caption)); });
    }
    m_steps = List(el::listSteps, scope::kStepCaptions);
    m_widths = List(el::listScanWidth, scope::kWidthCaptions);
    // A list takes no name from its caption.
    m_steps->setAccessibleName(QStringLiteral("Scan step"));
    m_widths->setAccessibleName(QStringLiteral("Scan width"));
    // A row chosen with the arrow keys counts as a click; one the model chose does not.
    m_binding.Bind(el::listSteps, [this](const platform::Element& e) {
        const QSignalBlocker quiet(m_steps);
        m_steps->setCurrentRow(int(e.value));
    });
    m_binding.Bind(el::listScanWidth, [this](const platform::Element& e) {
        const QSignalBlocker quiet(m_widths);
        m_widths->setCurrentRow(int(e.value));
    });
    connect(m_steps, &QListWidget::currentRowChanged, this, [this](int row) { m_scope.listSteps_Click(row); });
    connect(m_widths, &QListWidget::currentRowChanged, this, [this](int row) { m_scope.listScanWidth_Click(row); });

    auto* start = new QPushButton;
    start->setObjectName(QString::fromLatin1(el::cmdSCAN));
    m_binding.BindButton(el::cmdSCAN, start);
    connect(start, &QPushButton::clicked, this, [this] { m_scope.cmdSCAN_Click(); });
    auto* reset = new QPushButton;
    reset->setObjectName(QString::fromLatin1(el::SSCommand1));
    m_binding.BindButton(el::SSCommand1, reset);
    connect(reset, &QPushButton::clicked, this, [this] { m_scope.SSCommand1_Click(); });
    for (QPushButton* b : {start, reset}) {
        b->setMinimumWidth(90);
        b->setAutoDefault(false);
    }

    auto* progress = new QLabel;
    progress->setObjectName(QString::fromLatin1(el::lblScopeProgress));
    QSizePolicy keep = progress->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    progress->setSizePolicy(keep);
    m_binding.BindLabel(el::lblScopeProgress, progress);
    // Nothing to read while there is no progress: a reader finds no empty line.
    m_binding.Bind(el::lblScopeProgress,
                   [progress](const platform::Element& e) { progress->setVisible(e.visible && !e.caption.empty()); });

    m_chart = new StripChart(m_scope, this);
    connect(m_chart, &StripChart::clicked, this, [this](double kHz) { m_scope.stripScope_Click(kHz); });
    // The scope outlives the window: a tick after it closed finds no chart.
    m_scope.hooks.chartChanged = [chart = QPointer<StripChart>(m_chart)] {
        if (chart)
            chart->Refresh();
    };

    auto* controls = new QGridLayout;
    controls->addWidget(Caption("CURRENT FREQUENCY", current), 0, 0);
    controls->addWidget(current, 1, 0);
    controls->addWidget(Caption("CENTER FREQUENCY", centre), 2, 0);
    controls->addWidget(centre, 3, 0);
    controls->addWidget(Caption("SCAN STEP", m_steps), 0, 1);
    controls->addWidget(m_steps, 1, 1, 4, 1);
    controls->addWidget(Caption("SCAN WIDTH", m_widths), 0, 2);
    controls->addWidget(m_widths, 1, 2, 4, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(start);
    buttons->addWidget(reset);
    buttons->addStretch();
    controls->addLayout(buttons, 1, 3, 4, 1);
    controls->setColumnStretch(4, 1);
    // A row of its own, so the changing text never moves the lists beside it.
    controls->addWidget(progress, 5, 0, 1, 5);

    auto* body = new Pane(QString::fromLatin1(scope::kCaption));
    auto* all = new QVBoxLayout(body);
    all->addLayout(controls);
    all->addWidget(m_chart, 1);
    setCentralWidget(body);
    BuildMenus();
    menuBar()->setAccessibleName(QStringLiteral("Menu bar"));
    // Tab follows the window's layout: the boxes, the lists, the keys, the chart.
    setTabOrder(current, centre);
    setTabOrder(centre, m_steps);
    setTabOrder(m_steps, m_widths);
    setTabOrder(m_widths, start);
    setTabOrder(start, reset);
    setTabOrder(reset, m_chart);

    m_scope.Load();
}

BandScopeWindow::~BandScopeWindow() = default;

void BandScopeWindow::BindAction(const std::string& name, QAction* a)
{
    a->setCheckable(true);
    m_binding.Bind(name, [a](const platform::Element& e) {
        if (!e.caption.empty())
            a->setText(Q(e.caption));
        a->setEnabled(e.enabled);
        a->setChecked(e.checked);
    });
}

void BandScopeWindow::BuildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Export &Sweep..."), this, [this] { m_scope.ExportSweep(); });
    file->addAction(QStringLiteral("Save &Picture..."), this, [this] {
        if (auto path = m_scope.AskPicturePath())
            SavePicture(Q(*path));
    });
    file->addSeparator();
    file->addAction(QStringLiteral("&Exit"), this, [this] {
        m_scope.mnuExit_Click();
        close();
    });

    // Each group checks through the model; a click on the checked entry must not uncheck it.
    const auto group = [this](QMenu* menu, const platform::el::Array& names, const std::function<void(int)>& handler) {
        for (int i = names.first; i <= names.last; ++i) {
            QAction* a = menu->addAction(QString());
            BindAction(names(i), a);
            connect(a, &QAction::triggered, this, [this, a, handler, i, name = names(i)] {
                handler(i);
                a->setChecked(m_prog.display.Get(name).checked);
            });
        }
    };
    QMenu* settings = menuBar()->addMenu(QStringLiteral("&Settings"));
    group(settings->addMenu(QStringLiteral("&Active Search Threshold")), el::mnuActiveSearch,
          [this](int i) { m_scope.mnuActiveSearch_Click(i); });
    settings->addSeparator();
    group(settings->addMenu(QStringLiteral("&Scan Speed")), el::mnuScopeSpeed,
          [this](int i) { m_scope.mnuScanSpeed_Click(i); });
    group(settings->addMenu(QStringLiteral("&Continuous Scan")), el::mnuContinuousScan,
          [this](int i) { m_scope.mnuContinuousScan_Click(i); });
    settings->addSeparator();
    group(settings->addMenu(QStringLiteral("&Display Mode")), el::mnuDisplayMode,
          [this](int i) { m_scope.mnuDisplayMode_Click(i); });
    group(settings->addMenu(QStringLiteral("Scale &Handles")), el::mnuScaleHandles,
          [this](int i) { m_scope.mnuScaleHandles_Click(i); });
    group(settings->addMenu(QStringLiteral("&Wrap Cursor Width")), el::mnuWrapWidth,
          [this](int i) { m_scope.mnuWrapWidth_Click(i); });
    group(settings->addMenu(QStringLiteral("Color &Fill")), el::mnuColorFill,
          [this](int i) { m_scope.mnuColorFill_Click(i); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&Contents"), this, [this] { m_prog.dialogs.ShowHelp("Band Scope"); });
    help->addSeparator();
    help->addAction(QStringLiteral("About"), this, [this] { ShowAboutBox(this); });
}

bool BandScopeWindow::SavePicture(const QString& path)
{
    if (m_chart->grab().save(path, "PNG"))
        return true;
    m_scope.PictureNotSaved(path.toStdString(), "The picture could not be written there");
    return false;
}

void BandScopeWindow::closeEvent(QCloseEvent* event)
{
    m_scope.Unload();
    QMainWindow::closeEvent(event);
}

BandScopeWindow* ShowBandScope(QWidget* parent, panel::Program& prog)
{
    auto* window = parent ? parent->findChild<BandScopeWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window) {
        window = new BandScopeWindow(prog, parent);
        window->resize(760, 600);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace kivo::ui
