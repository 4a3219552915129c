#pragma once

#include <QString>

class DBConn;
class QObject;
class QBoxLayout;
class QTextBrowser;
class QWidget;

// The quick checklist page has no class of its own: the page switch builds it in a page
// container from these two functions, the title first, then the browser.

// The page's title: the server's product name, a blank and its version, from the first
// row of "SELECT productname, version FROM info"; each is read as Latin-1 and cut to 49
// characters. Empty without an answer row, and empty when the request fails: it is the
// page's own request (ownrequest.h tells the failure) and page, not null, what it serves.
// The wait shows no progress window over the page; one that lasts shows the indicator over
// the window in front (ownrequest.h).
QString checklistTitle(DBConn* conn, const QObject* page);

// A browser, a child of container, showing the checklist document from the module's
// resources; added to layout, when one is given, with stretch 1.
QTextBrowser* createChecklistBrowser(QWidget* container, QBoxLayout* layout = nullptr);
