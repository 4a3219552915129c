#include "quickchecklist.h"

#include "dbreq.h"
#include "ownrequest.h"
#include "textcell.h"

#include <QBoxLayout>
#include <QByteArray>
#include <QTextBrowser>
#include <QUrl>

namespace {

// Each value is read into a buffer of this size, so at most 49 characters and the
// zero byte a string cell carries.
constexpr int TitleCellSize = 50;

// A value too long for the buffer is read whole and cut to what the buffer holds.
QString readTitleCell(DBReq& request, int column)
{
    int needed = 0;
    QByteArray value = readTextCell(request, 0, column, TitleCellSize, &needed);
    if (needed > 0)
        value = readTextCell(request, 0, column, needed);
    return QString::fromLatin1(value.left(TitleCellSize - 1));
}

} // namespace

QString checklistTitle(DBConn* conn, const QObject* page)
{
    if (!conn)
        return QString();
    DBReq request(QStringLiteral("SELECT productname, version FROM info"), false);
    if (sendOwnRequest(conn, request, page) != OwnRequest::Answered || request.rowCount() < 1)
        return QString();
    return readTitleCell(request, 0) + QLatin1Char(' ') + readTitleCell(request, 1);
}

QTextBrowser* createChecklistBrowser(QWidget* container, QBoxLayout* layout)
{
    auto* browser = new QTextBrowser(container);
    browser->setSource(QUrl(QStringLiteral("qrc:/quickchecklist.html")),
                       QTextDocument::HtmlResource);
    if (layout)
        layout->addWidget(browser, 1);
    return browser;
}
