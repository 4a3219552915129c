#pragma once

#include <QScrollArea>

// The right side's room for the page of a tree window. It asks the layout around it for
// the page's whole minimum size, so the window grows to show the page unsqueezed; where
// the window cannot have that much room (a page larger than the workspace), the area is
// given less and the page scrolls in it instead of being squeezed.
//
// The page holder (widget()) is the area's, and so are the scroll bars; the area draws no
// frame of its own, so a page that fits looks as it would without the area.
class PageArea : public QScrollArea
{
    Q_OBJECT

public:
    explicit PageArea(QWidget* parent);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
