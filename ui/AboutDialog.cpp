#include "ui/AboutDialog.h"

#include "ui/Resources.h"
#include "ui_AboutDialog.h"

#include <sstream>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), ui(new Ui::AboutDialog)
{
    EnsureResources();
    ui->setupUi(this);
    std::ostringstream version;
    version << SWIFTLANE_VERSION;
    ui->versionLabel->setText(ui->versionLabel->text() + QString::fromStdString(version.str()));
}

AboutDialog::~AboutDialog() = default;
