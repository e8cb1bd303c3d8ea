#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class AboutDialog;
}

// The product, version and copyright box behind Help > About.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);
    ~AboutDialog() override;
    AboutDialog(const AboutDialog&) = delete;
    AboutDialog& operator=(const AboutDialog&) = delete;

private:
    std::unique_ptr<Ui::AboutDialog> ui;
};
