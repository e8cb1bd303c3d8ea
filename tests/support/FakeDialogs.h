#pragma once

#include "platform/OperatorDialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// Records every message box put to the operator and answers from a scripted queue (Ok when it is
// empty); file and text dialogs answer from their own queues, "cancelled" when empty. Installs
// itself for its lifetime.
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
    QString openFileName(QWidget* parent, const QString&, const QString&, const QString&) override
    {
        return fileAnswer({parent, QStringLiteral("open")});
    }
    QString saveFileName(QWidget* parent, const QString&, const QString&, const QString&) override
    {
        return fileAnswer({parent, QStringLiteral("save")});
    }
    QString text(QWidget* parent, const QString&, const QString&, const QString& initial, bool* ok) override
    {
        textCalls.push_back({parent, initial});
        std::optional<QString> answer;
        if (!textAnswers.empty()) {
            answer = textAnswers.front();
            textAnswers.pop_front();
        }
        if (ok)
            *ok = answer.has_value();
        return answer.value_or(QString());
    }

    struct FileCall
    {
        QWidget* parent = nullptr;
        QString kind; // "open" or "save"
    };
    struct TextCall
    {
        QWidget* parent = nullptr;
        QString initial;
    };

    QString fileAnswer(const FileCall& call)
    {
        fileCalls.push_back(call);
        if (fileAnswers.empty())
            return {};
        const QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }

    std::vector<Call> calls;
    std::vector<FileCall> fileCalls;
    std::vector<TextCall> textCalls;
    std::deque<QString> fileAnswers;                // empty string: cancelled
    std::deque<std::optional<QString>> textAnswers; // nullopt: cancelled
    std::deque<QMessageBox::StandardButton> buttonAnswers;
    std::function<void()> whileOpen;
};
