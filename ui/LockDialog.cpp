#include "ui/LockDialog.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kivo::ui {

void ShowLockDialog(QWidget* parent, lock::MenuLock& lock, const std::string& caption)
{
    lock.SetCaption(caption);
    QDialog dlg(parent);
    dlg.setObjectName(QStringLiteral("LockDialog"));
    dlg.setWindowTitle(QString::fromStdString(lock.Caption()));
    auto* label = new QLabel(QStringLiteral("&Password:"));
    auto* text = new QLineEdit;
    text->setObjectName(QStringLiteral("txtPassword"));
    text->setEchoMode(QLineEdit::Password);
    text->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // '*'
    text->setMaxLength(lock::kPasswordLength);
    label->setBuddy(text);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* grid = new QGridLayout(&dlg);
    grid->addWidget(label, 0, 0);
    grid->addWidget(text, 0, 1);
    auto* keys = new QHBoxLayout;
    keys->addStretch();
    keys->addWidget(ok);
    keys->addWidget(cancel);
    grid->addLayout(keys, 1, 0, 1, 2);

    QObject::connect(ok, &QPushButton::clicked, &dlg, [&] {
        if (lock.Confirm(text->text().toStdString())) {
            text->clear();
            dlg.accept();
            return;
        }
        // Refused: the text stays selected, ready to be typed over.
        text->setFocus();
        text->selectAll();
    });
    // Cancel, Escape and the close box all cancel.
    QObject::connect(cancel, &QPushButton::clicked, &dlg, &QDialog::reject);
    QObject::connect(&dlg, &QDialog::rejected, &dlg, [&] {
        text->clear();
        lock.Cancel();
    });
    text->setFocus();
    dlg.exec();
}

} // namespace kivo::ui
