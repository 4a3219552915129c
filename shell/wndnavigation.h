#pragma once

#include "twndnavigation.h"

class QPixmap;
class QTimer;

// A navigation list page: the children of one grouping item of the navigation tree, one
// row each, in the order they are added. A double click or Return on a row makes the
// row's target the current item of the tree that holds it, which switches the page.
//
// The switch replaces and destroys this page, so it never happens inside the list's own
// signal: the page only starts a zero-delay timer, and acts once control is back in the
// event loop, on whatever row is current then.
class WndNavigation : public TWndNavigation
{
    Q_OBJECT

public:
    WndNavigation(QWidget* parent, const char* name = nullptr, Qt::WindowFlags f = {});
    ~WndNavigation() override;

    // A QNavigationItem placed directly after the row given (first when that is null),
    // with the icon beside the title; target is not owned.
    QTreeWidgetItem* addIcon(QTreeWidgetItem* after, const QPixmap& icon, const QString& title,
                             const QString& description, QTreeWidgetItem* target);

public slots:
    void slotNavigate(QTreeWidgetItem* item) override;
    void slotTimerDone();

private:
    QTimer* m_timer; // a child: it goes with the page, and a pending shot with it
};
