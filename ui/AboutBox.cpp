#include "ui/AboutBox.h"

#include "panel/Power.h"
#include "platform/Version.h"

#include <QMessageBox>

namespace kivo::ui {

void ShowAboutBox(QWidget* parent)
{
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("AboutBox"));
    box.setWindowTitle(QStringLiteral("About KIVO FT-817"));
    box.setIcon(QMessageBox::Information);
    box.setTextFormat(Qt::RichText);
    box.setText(QStringLiteral("<b>KIVO FT-817</b><br>") +
                QString::fromStdString(panel::Power::VersionText(platform::kVersionMajor, platform::kVersionMinor,
                                                                 platform::kVersionPatch)));
    box.setInformativeText(QStringLiteral("A virtual front panel for the Yaesu FT-817 portable transceiver, kept in "
                                          "step with the radio over its CAT serial line."));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace kivo::ui
