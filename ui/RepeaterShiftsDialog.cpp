#include "ui/RepeaterShiftsDialog.h"

#include "ui/Accessibility.h"
#include "ui/DialogFrame.h"

#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace kivo::ui {

namespace {

// "On" and "Off" of one band's automatic shift, an exclusive pair of their own.
struct OnOff {
    QRadioButton* on;
    QRadioButton* off;
};

OnOff AddOnOff(QGridLayout* grid, int row, const char* band, const char* name)
{
    grid->addWidget(new QLabel(QString::fromUtf8(band)), row, 0);
    auto* pair = new Pane(QString::fromUtf8(band));
    auto* h = new QHBoxLayout(pair);
    h->setContentsMargins(0, 0, 0, 0);
    OnOff o{new QRadioButton(QStringLiteral("On")), new QRadioButton(QStringLiteral("Off"))};
    o.on->setObjectName(QStringLiteral("%1(0)").arg(QString::fromUtf8(name)));
    o.off->setObjectName(QStringLiteral("%1(1)").arg(QString::fromUtf8(name)));
    h->addWidget(o.on);
    h->addWidget(o.off);
    grid->addWidget(pair, row, 1);
    return o;
}

} // namespace

void ShowRepeaterShiftsDialog(QWidget* parent, panel::RepeaterShifts& model)
{
    model.Show();
    QDialog dlg(parent);
    dlg.setWindowTitle(QString::fromUtf8(panel::RepeaterShifts::kCaption));
    auto* all = new QVBoxLayout(&dlg);

    auto* shifts = new QGroupBox(QStringLiteral("Repeater Shift Magnitude"));
    auto* g = new QGridLayout(shifts);
    std::array<QLineEdit*, panel::kRptShiftBoxCount> boxes{};
    bool leaving = false; // a refusal's message takes the focus, which would leave the box again
    for (int k = 0; k < panel::kRptShiftBoxCount; ++k) {
        const panel::RptShiftBox& b = panel::kRptShiftBoxes[std::size_t(k)];
        auto* edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("txtRPToffset(%1)").arg(k));
        auto* label = new QLabel(QString::fromUtf8(b.label));
        label->setBuddy(edit);
        g->addWidget(label, k, 0);
        g->addWidget(edit, k, 1);
        g->addWidget(new QLabel(QString::fromUtf8(b.hint)), k, 2);
        QObject::connect(edit, &QLineEdit::textEdited, &dlg,
                         [&model, k](const QString& t) { model.SetText(k, t.toStdString()); });
        QObject::connect(edit, &QLineEdit::editingFinished, &dlg, [&model, &leaving, edit, k] {
            if (leaving)
                return;
            leaving = true;
            model.SetText(k, edit->text().toStdString());
            model.LeaveBox(k);
            edit->setText(QString::fromStdString(model.Text(k)));
            leaving = false;
        });
        boxes[std::size_t(k)] = edit;
    }
    all->addWidget(shifts);

    auto* autoShift = new QGroupBox(QStringLiteral("Auto Repeater Shift"));
    auto* a = new QGridLayout(autoShift);
    const OnOff s144 = AddOnOff(a, 0, "144 MHz", "ssopt144");
    const OnOff s430 = AddOnOff(a, 1, "430 MHz", "ssopt430");
    QObject::connect(s144.on, &QRadioButton::toggled, &dlg, [&model](bool on) { model.SetAutoShift144(on); });
    QObject::connect(s430.on, &QRadioButton::toggled, &dlg, [&model](bool on) { model.SetAutoShift430(on); });
    all->addWidget(autoShift);

    auto refresh = [&] {
        for (int k = 0; k < panel::kRptShiftBoxCount; ++k)
            boxes[std::size_t(k)]->setText(QString::fromStdString(model.Text(k)));
        (model.AutoShift144() ? s144.on : s144.off)->setChecked(true);
        (model.AutoShift430() ? s430.on : s430.off)->setChecked(true);
    };
    RunModelDialog(dlg, *all, model, refresh);
}

} // namespace kivo::ui
