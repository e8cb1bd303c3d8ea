#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

// Scales the font of a one-line text widget, and of its companions alike, so that the text fills the
// widget's width: a long name or a narrow panel does not cut the text, a wide window shows it larger.
// Fonts stay between smallestPointSize and largestScale times their form sizes. Re-fits on resize;
// call Refit() after changing the text. padding: room the widget keeps beside its text.
class FontFitter : public QObject
{
public:
    FontFitter(QWidget* target, int padding, qreal largestScale, std::function<QString()> text,
               const std::vector<QWidget*>& companions = {});
    void Refit();
    // The width the text takes at the smallest font, padding included: the least room that shows
    // all of it.
    int SmallestTextWidth() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Scaled
    {
        QWidget* widget;
        qreal formPointSize;
    };
    QWidget* target;
    int padding;
    qreal largestScale;
    std::function<QString()> text;
    std::vector<Scaled> scaled; // the target first
};
