#include "support/FakeDialogs.h"

#include <algorithm>

FakeDialogs::FakeDialogs()
{
    platform::setDialogs(this);
}

FakeDialogs::~FakeDialogs()
{
    platform::setDialogs(nullptr);
}

QMessageBox::StandardButton FakeDialogs::message(QMessageBox::Icon icon, QWidget* parent,
                                                 const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    Call call;
    call.kind = Kind::Message;
    call.icon = icon;
    call.parent = parent;
    call.title = title;
    call.text = text;
    call.buttons = buttons;
    call.defaultButton = defaultButton;
    calls.push_back(call);
    if (buttonAnswers.empty())
        return QMessageBox::Ok;
    const QMessageBox::StandardButton answer = buttonAnswers.front();
    buttonAnswers.pop_front();
    return answer;
}

QString FakeDialogs::openFileName(QWidget* parent, const QString& caption, const QString& dir,
                                  const QString& filter)
{
    Call call;
    call.kind = Kind::OpenFile;
    call.parent = parent;
    call.title = caption;
    call.dir = dir;
    call.filter = filter;
    calls.push_back(call);
    return nextFileAnswer();
}

QString FakeDialogs::saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                  const QString& filter)
{
    Call call;
    call.kind = Kind::SaveFile;
    call.parent = parent;
    call.title = caption;
    call.dir = dir;
    call.filter = filter;
    calls.push_back(call);
    return nextFileAnswer();
}

QString FakeDialogs::text(QWidget* parent, const QString& title, const QString& label, const QString& initial,
                          bool* ok)
{
    Call call;
    call.kind = Kind::Text;
    call.parent = parent;
    call.title = title;
    call.text = label;
    call.initial = initial;
    calls.push_back(call);
    std::optional<QString> answer;
    if (!textAnswers.empty()) {
        answer = textAnswers.front();
        textAnswers.pop_front();
    }
    if (ok)
        *ok = answer.has_value();
    return answer.value_or(QString());
}

int FakeDialogs::count(Kind kind) const
{
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [kind](const Call& call) { return call.kind == kind; }));
}

QString FakeDialogs::nextFileAnswer()
{
    if (fileAnswers.empty())
        return QString();
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}
