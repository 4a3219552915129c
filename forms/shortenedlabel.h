#pragma once

#include "shortenedgrowth.h"
#include "shortenedtext.h"
#include "shownline.h"

#include <QFont>
#include <QLabel>

// A label that shows a text the server stores, of any length and holding line breaks
// (shortenedtext.h): it shows the text on one line, asks its layout for the room of that
// line only up to the width of so many average characters (ShortenedText::WidestText unless
// a heading's larger font needs fewer), shows a line wider than its room shortened with an
// ellipsis, grows with its window while it does (ShortenedGrowth), and gives the whole text
// as its tool tip exactly when it does not show it all (wholetexttip.h).
// text() is always the whole text. The text is plain: a stored name is never read as markup.
// A label the form makes wrap its words asks for the room they take, as any label does.
class ShortenedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ShortenedLabel(QWidget* parent = nullptr, int widestText = ShortenedText::WidestText);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The text the label shows at its present size.
    QString shownText() const;
    // Whether the label shows all of its text at its present size.
    bool showsItAll() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int widthCap() const;
    // Whether a label of this width is cut down to its cap.
    bool capped(int width) const;
    // Whether the label asks for less room than its text needs.
    bool asksLessThanItsText() const;
    // Whether the label shows its text on one line, as plain text, the only way it shortens.
    bool showsPlainLine() const;
    Qt::LayoutDirection textDirection() const;
    // What the label keeps free beside its text: as it asks for room, and as it paints.
    int hintIndent() const;
    int paintIndent() const;
    // The size the text's line needs, measured as the toolkit's label measures a line.
    QSize lineHint() const;
    // Where the label paints its text's line.
    QRect textRoom() const;

    const int m_widestText; // in average characters
    mutable ShortenedGrowth m_growth{this};
    // The last text measured, and the bounds of its line: layouts ask for the size hint often.
    mutable struct
    {
        QString text;
        QFont font;
        int dpi = 0;
        int flags = 0;
        int width = 0;
        QRect bounds;
    } m_measured;
    mutable ShownLine m_shownLine;
};
