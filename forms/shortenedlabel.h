#pragma once

#include "shortenedgrowth.h"
#include "shortenedtext.h"

#include <QLabel>

// A label that shows a text the server stores, of any length (shortenedtext.h): it asks its
// layout for the room of its text only up to the width of so many average characters
// (ShortenedText::WidestText unless a heading's larger font needs fewer), shows a line wider
// than its room shortened with an ellipsis, grows with its window while it does
// (ShortenedGrowth), and gives the whole text as its tool tip.
// text() is always the whole text. The text is plain: a stored name is never read as markup.
// A label made to wrap its words or to show several lines asks for the room they take.
class ShortenedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ShortenedLabel(QWidget* parent = nullptr, int widestText = ShortenedText::WidestText);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The text the label shows at its present size.
    QString shownText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int widthCap() const;
    // Whether a label of this width is cut down to its cap.
    bool capped(int width) const;
    // Whether the label asks for less room than its text needs.
    bool asksLessThanItsText() const;
    QRect textRoom() const;
    // Whether the label shows a single line of plain text, the only kind it shortens.
    bool showsPlainLine() const;

    const int m_widestText; // in average characters
    mutable ShortenedGrowth m_growth{this};
};
