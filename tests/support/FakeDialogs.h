#pragma once

#include "platform/OperatorDialogs.h"

#include <deque>
#include <optional>
#include <vector>

// Records every question put to the operator and answers from scripted queues. Installs itself for
// its lifetime. Unscripted answers: Ok for message boxes, an empty name for file dialogs (cancelled)
// and a cancelled text input.
class FakeDialogs : public platform::OperatorDialogs
{
public:
    enum class Kind
    {
        Message,
        OpenFile,
        SaveFile,
        Text
    };

    struct Call
    {
        Kind kind = Kind::Message;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QWidget* parent = nullptr;
        QString title; // caption of file dialogs
        QString text;  // label of text inputs
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QString dir;     // file dialogs
        QString filter;  // file dialogs
        QString initial; // text inputs
    };

    FakeDialogs();
    ~FakeDialogs() override;
    FakeDialogs(const FakeDialogs&) = delete;
    FakeDialogs& operator=(const FakeDialogs&) = delete;

    QMessageBox::StandardButton message(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                         const QString& filter) override;
    QString text(QWidget* parent, const QString& title, const QString& label, const QString& initial,
                 bool* ok) override;

    int count(Kind kind) const;

    std::vector<Call> calls;
    std::deque<QMessageBox::StandardButton> buttonAnswers;
    std::deque<QString> fileAnswers;                // open and save dialogs share one queue
    std::deque<std::optional<QString>> textAnswers; // nullopt: cancelled

private:
    QString nextFileAnswer();
};
