#pragma once

#include "platform/OperatorDialogs.h"

#include <deque>
#include <functional>
#include <utility>
#include <vector>

// Records every message box put to the operator and answers from a scripted queue (Ok when it is
// empty); file and text dialogs answer "cancelled". Installs itself for its lifetime.
class FakeDialogs : public platform::OperatorDialogs
{
public:
    struct Call
    {
        QWidget* parent = nullptr;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };

    FakeDialogs() { platform::setDialogs(this); }
    ~FakeDialogs() override { platform::setDialogs(nullptr); }
    FakeDialogs(const FakeDialogs&) = delete;
    FakeDialogs& operator=(const FakeDialogs&) = delete;

    QMessageBox::StandardButton message(QMessageBox::Icon, QWidget* parent, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override
    {
        calls.push_back({parent, title, text, buttons, defaultButton});
        // The tick keeps running while a real box is open; let the test act in that moment.
        if (auto action = std::exchange(whileOpen, nullptr))
            action();
        if (buttonAnswers.empty())
            return QMessageBox::Ok;
        const QMessageBox::StandardButton answer = buttonAnswers.front();
        buttonAnswers.pop_front();
        return answer;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString text(QWidget*, const QString&, const QString&, const QString&, bool* ok) override
    {
        if (ok)
            *ok = false;
        return {};
    }

    std::vector<Call> calls;
    std::deque<QMessageBox::StandardButton> buttonAnswers;
    std::function<void()> whileOpen;
};
