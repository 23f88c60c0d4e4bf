#include "ui/ToneCodesDialog.h"

#include "ui/DialogFrame.h"

#include <QButtonGroup>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kivo::ui {

void ShowToneCodesDialog(QWidget* parent, panel::ToneCodes& model)
{
    model.Show();
    QDialog dlg(parent);
    dlg.setWindowTitle(QString::fromStdString(model.Caption()));
    auto* all = new QVBoxLayout(&dlg);
    auto* frame = new QGroupBox(QString::fromUtf8(model.Frame()));
    auto* grid = new QGridLayout(frame);
    auto* group = new QButtonGroup(&dlg);
    const auto& options = model.Options();
    // Down the columns in the tables' order, ten or thirteen to a column.
    const int rows = options.size() > 50 ? 13 : 10;
    for (int i = 0; i < int(options.size()); ++i) {
        auto* opt = new QRadioButton(QString::fromStdString(options[std::size_t(i)]));
        opt->setObjectName(QStringLiteral("opt(%1)").arg(i));
        group->addButton(opt, i);
        grid->addWidget(opt, i % rows, i / rows);
    }
    all->addWidget(frame);
    auto refresh = [&] {
        if (QAbstractButton* b = group->button(model.Selected()))
            b->setChecked(true);
    };
    QObject::connect(group, &QButtonGroup::idClicked, &dlg, [&model](int id) { model.Select(id); });
    RunModelDialog(dlg, *all, model, refresh);
}

} // namespace kivo::ui
