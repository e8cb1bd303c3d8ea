#pragma once

#include "platform/OperatorDialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// Records every question put to the operator and answers from scripted queues: message boxes Ok,
// file and text dialogs "cancelled" once their queue is empty. Installs itself for its lifetime.
class FakeDialogs : public platform::OperatorDialogs
{
public:
    struct Call
    {
        QWidget* parent = nullptr;
        QString title; // tells one kind of warning from another
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };
    struct FileCall
    {
        QWidget* parent = nullptr;
        bool save = false;
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
        return next(buttonAnswers).value_or(QMessageBox::Ok);
    }
    QString openFileName(QWidget* parent, const QString&, const QString&, const QString&) override
    {
        fileCalls.push_back({parent, false});
        return next(fileAnswers).value_or(QString());
    }
    QString saveFileName(QWidget* parent, const QString&, const QString&, const QString&) override
    {
        fileCalls.push_back({parent, true});
        return next(fileAnswers).value_or(QString());
    }
    QString text(QWidget*, const QString&, const QString&, const QString& initial, bool* ok) override
    {
        textInitials.push_back(initial);
        const std::optional<QString> answer = next(textAnswers).value_or(std::nullopt);
        if (ok)
            *ok = answer.has_value();
        return answer.value_or(QString());
    }

    std::vector<Call> calls;
    std::vector<FileCall> fileCalls;
    std::vector<QString> textInitials;
    std::deque<QString> fileAnswers;                // empty string: cancelled
    std::deque<std::optional<QString>> textAnswers; // nullopt: cancelled
    std::deque<QMessageBox::StandardButton> buttonAnswers;
    std::function<void()> whileOpen;

private:
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
// GCC 12 takes a copied optional<QString> for uninitialised when a table of tests inlines deeply.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
    template <typename T> static std::optional<T> next(std::deque<T>& queue)
    {
        if (queue.empty())
            return std::nullopt;
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
};
