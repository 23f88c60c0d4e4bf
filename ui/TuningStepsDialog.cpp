#include "ui/TuningStepsDialog.h"

#include "platform/Elements.h"

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include <string>
#include <utility>
#include <vector>

namespace kivo::ui {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
} // namespace

void ShowTuningStepsDialog(QWidget* parent, panel::TuningSteps& steps, const platform::DisplayModel& model)
{
    QDialog dlg(parent);
    dlg.setWindowTitle(Q(model.Get(el::frmTuningSteps).caption));
    auto* grid = new QGridLayout(&dlg);
    std::vector<std::pair<std::string, QComboBox*>> boxes;
    auto addBox = [&](QGridLayout* g, int row, const el::Array& box, int index, const std::string& label) {
        auto* caption = new QLabel(Q(model.Get(label).caption));
        g->addWidget(caption, row, 0);
        auto* combo = new QComboBox;
        caption->setBuddy(combo);
        combo->addItems(Q(model.Get(box(index)).caption).split(QLatin1Char('|')));
        QObject::connect(combo, &QComboBox::activated, &dlg,
                         [&steps, name = std::string(box.name), index](int e) { steps.Select(name, index, e); });
        g->addWidget(combo, row, 1);
        boxes.emplace_back(box(index), combo);
    };
    for (int k = 0; k < 5; ++k) {
        auto* group = new QGroupBox(Q(model.Get(el::fraSteps(k)).caption));
        auto* g = new QGridLayout(group);
        if (k < 4) {
            addBox(g, 0, el::CHboxFM, k, el::lblCHboxFM(k));
            addBox(g, 1, el::CHboxAM, k, el::lblCHboxAM(k));
            addBox(g, 2, el::CHboxSSB, k, el::lblCHboxSSB(k));
        } else {
            addBox(g, 0, el::VFObox, 5, el::lblVFObox(5));
            addBox(g, 1, el::VFObox, 4, el::lblVFObox(4));
            addBox(g, 2, el::VFObox, 3, el::lblVFObox(3));
        }
        grid->addWidget(group, k / 3, k % 3);
    }
    auto refresh = [&] {
        for (auto& [name, combo] : boxes)
            combo->setCurrentIndex(int(model.Get(name).value));
    };
    auto* buttons = new QHBoxLayout;
    const char* const captions[3] = {el::cmdSave, el::cmdDefault, el::cmdCancel};
    for (int act = 0; act < 3; ++act) {
        auto* b = new QPushButton(Q(model.Get(captions[act]).caption));
        QObject::connect(b, &QPushButton::clicked, &dlg, [&, act] {
            if (act == 0)
                steps.SAVE();
            else if (act == 1)
                steps.DEFAULT();
            else
                steps.CANCEL();
            refresh();
            if (!steps.IsOpen())
                dlg.accept();
        });
        buttons->addWidget(b);
    }
    grid->addLayout(buttons, 2, 0, 1, 3);
    steps.Show();
    refresh();
    dlg.exec();
    if (steps.IsOpen())
        steps.CANCEL(); // closed with the window's own close box
}

} // namespace kivo::ui
