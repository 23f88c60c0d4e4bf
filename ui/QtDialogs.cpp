#include "ui/QtDialogs.h"

#include "ui/HelpWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>

namespace kivo::ui {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

// Tells a box dismissed with the window's close button or Escape from one answered with a button:
// QMessageBox reports both as its escape button (No, for a Yes/No box).
class DismissWatcher final : public QObject {
public:
    bool dismissed = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool escape =
            event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
        if (event->type() == QEvent::Close || escape)
            dismissed = true;
        return QObject::eventFilter(watched, event);
    }
};

QMessageBox::Icon ToQtIcon(Icon icon)
{
    switch (icon) {
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return QMessageBox::Ok;
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QString FromUtf8(const std::string& s) { return QString::fromStdString(s); }

std::optional<std::string> ToPath(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

} // namespace

namespace {
// Every window has its own dialogs but they share one help viewer: the last to go takes it along.
int g_dialogsAlive = 0;
} // namespace

QtDialogs::QtDialogs(QWidget* parent) : m_parent(parent) { ++g_dialogsAlive; }

QtDialogs::~QtDialogs()
{
    if (--g_dialogsAlive == 0)
        delete HelpWindow::Instance();
}

Answer QtDialogs::MessageBox(const std::string& text, const std::string& title, Icon icon, Buttons buttons)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(FromUtf8(title));
    box.setText(FromUtf8(text));
    box.setIcon(ToQtIcon(icon));
    box.setStandardButtons(ToQtButtons(buttons));
    DismissWatcher watcher;
    box.installEventFilter(&watcher);
    const int result = box.exec();
    if (watcher.dismissed)
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    switch (result) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

void QtDialogs::Beep() { QApplication::beep(); }

QString QtDialogs::ToQtFilter(const std::string& filter)
{
    const QStringList fields = FromUtf8(filter).split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        QString description = fields[i].trimmed();
        // The description repeats the patterns in brackets; Qt reads the patterns from there.
        const qsizetype open = description.lastIndexOf(u'(');
        if (open > 0 && description.endsWith(u')'))
            description = description.left(open).trimmed();
        QStringList patterns;
        for (QString p : fields[i + 1].split(u';')) {
            p = p.trimmed();
            if (p == u"*.*")
                p = QStringLiteral("*");
            if (!p.isEmpty() && !patterns.contains(p))
                patterns << p;
        }
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        out << QStringLiteral("%1 (%2)").arg(description, patterns.join(u' '));
    }
    return out.join(QStringLiteral(";;"));
}

QString QtDialogs::DefaultSuffix(const std::string& filter)
{
    const QStringList fields = FromUtf8(filter).split(u'|');
    if (fields.size() < 2)
        return {};
    const QString first = fields[1].split(u';').value(0).trimmed();
    if (!first.startsWith(QStringLiteral("*.")) || first == u"*.*")
        return {};
    return first.mid(2);
}

std::optional<std::string> QtDialogs::OpenFile(const std::string& filter, const std::string& initialPath)
{
    return ToPath(
        QFileDialog::getOpenFileName(m_parent, QObject::tr("Open"), FromUtf8(initialPath), ToQtFilter(filter)));
}

std::optional<std::string> QtDialogs::SaveFile(const std::string& filter, const std::string& initialPath)
{
    QFileDialog dialog(m_parent, QObject::tr("Save As"), FromUtf8(initialPath), ToQtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without an extension gets the file type's, as the user expects.
    dialog.setDefaultSuffix(DefaultSuffix(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ToPath(dialog.selectedFiles().constFirst());
}

bool QtDialogs::AskForm(const std::string& title, const std::string& text, std::vector<platform::FormField>& fields)
{
    QDialog dialog(m_parent);
    dialog.setWindowTitle(FromUtf8(title));
    dialog.setObjectName(QStringLiteral("formDialog"));
    dialog.setAccessibleName(FromUtf8(title));
    auto* layout = new QFormLayout(&dialog);
    if (!text.empty()) {
        auto* intro = new QLabel(FromUtf8(text));
        intro->setWordWrap(true);
        layout->addRow(intro);
    }
    std::vector<QWidget*> editors;
    for (const auto& f : fields) {
        const QString label = FromUtf8(f.label);
        QWidget* editor = nullptr;
        if (f.choices.empty()) {
            auto* line = new QLineEdit(FromUtf8(f.value));
            editor = line;
        } else {
            auto* combo = new QComboBox;
            for (const auto& c : f.choices)
                combo->addItem(FromUtf8(c));
            combo->setCurrentText(FromUtf8(f.value));
            editor = combo;
        }
        editor->setAccessibleName(QString(label).remove(u'&').remove(u':'));
        editor->setObjectName(QStringLiteral("formField%1").arg(editors.size()));
        layout->addRow(label, editor);
        editors.push_back(editor);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (auto* line = qobject_cast<QLineEdit*>(editors[i]))
            fields[i].value = line->text().toStdString();
        else if (auto* combo = qobject_cast<QComboBox*>(editors[i]))
            fields[i].value = combo->currentText().toStdString();
    }
    return true;
}

void QtDialogs::ShowHelp(const std::string& topic)
{
    const QString folder = HelpFolder();
    const QString page = HelpPageOf(topic);
    const QString file = QDir(folder).filePath(page.section(u'#', 0, 0));
    if (!QFileInfo(file).isFile()) {
        MessageBox("The help pages cannot be shown: " + QDir::toNativeSeparators(file).toStdString() +
                       " was not found. The help is installed with the program in the folder " +
                       QDir::toNativeSeparators(folder).toStdString() + "; installing the program again puts it back.",
                   "Help", Icon::Exclamation, Buttons::Ok);
        return;
    }
    HelpWindow::Open(folder, page);
}

void QtDialogs::CloseHelp()
{
    if (HelpWindow* viewer = HelpWindow::Instance())
        viewer->hide();
}

HelpWindow* QtDialogs::Help() const { return HelpWindow::Instance(); }

} // namespace kivo::ui
