#include "ui/DialogFrame.h"

#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace kivo::ui {

QHBoxLayout* DialogKeys(QDialog& dlg, std::initializer_list<DialogKey> keys, const std::function<bool()>& stillOpen)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (const DialogKey& k : keys) {
        auto* b = new QPushButton(QString::fromUtf8(k.caption));
        b->setObjectName(QString::fromUtf8(k.name));
        b->setAutoDefault(false);
        QObject::connect(b, &QPushButton::clicked, &dlg, [&dlg, action = k.action, stillOpen] {
            action();
            if (!stillOpen())
                dlg.accept();
        });
        row->addWidget(b);
    }
    return row;
}

void CentreOnScreen(QDialog& dlg)
{
    dlg.adjustSize();
    QScreen* screen = dlg.parentWidget() ? dlg.parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect r = dlg.frameGeometry();
    r.moveCenter(screen->availableGeometry().center());
    dlg.move(r.topLeft());
}

} // namespace kivo::ui
