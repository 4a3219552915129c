// Opening the Services page against the stand-in server: sixteen selects, each waited for
// with the wait indicator, then the list built. Reported beside the floor of the same
// work: the sixteen statements sent one by one as bare requests (DBReq::wait without the
// indicator), nothing parsed into tables and no list. Both run in the same process
// against the same server, alternately, and the median of each is compared.
//
// Usage: bench_services [runs]

#include "configcolumns.h"
#include "dbconn.h"
#include "dbctrl.h"
#include "dbreq.h"
#include "dbtable.h"
#include "standinconnection.h"
#include "wndservice.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>

namespace {

QStringList statements()
{
    auto columns = [](const DBCOL* cols) {
        QStringList names;
        for (const DBCOL* c = cols; c->name; ++c)
            names.append(QString::fromLatin1(c->name));
        return names.join(QStringLiteral(", "));
    };
    QStringList list;
    for (int index = 0; index < WndService::ServiceCount; ++index) {
        const QString table = QString::fromLatin1(WndService::serviceTable(index));
        list << QStringLiteral("select ") + columns(dbcol_service) + QStringLiteral(" from ") + table
             << QStringLiteral("select ") + columns(dbcol_service_run) + QStringLiteral(" from ")
                + table;
    }
    return list;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    const int loadFlags = argc > 2 ? atoi(argv[2]) : 3;

    auto server = startStandIn();
    ScopedConnection conn(server->port());
    if (!conn.connect())
        qFatal("no connection to the stand-in server");
    DBCtrl ctrl;
    QWidget container;
    container.resize(640, 480);
    container.show();
    const QStringList bare = statements();

    QList<double> loadTimes;
    QList<double> formTimes;
    QList<double> pageTimes;
    QList<double> bareTimes;
    int items = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        auto* page = new WndService(&container, conn.get(), &ctrl, nullptr, nullptr, {});
        pageTimes.append(double(timer.nsecsElapsed()) / 1e3);
        items = page->m_list->topLevelItemCount();
        delete page;
        QCoreApplication::processEvents();

        timer.restart();
        {
            DBTable tables[16];
            for (int i = 0; i < 16; ++i) {
                const QByteArray table = WndService::serviceTable(i / 2);
                tables[i].select(&container, conn.get(), table.constData(),
                                 i % 2 ? dbcol_service_run : dbcol_service, loadFlags, nullptr, nullptr);
            }
        }
        loadTimes.append(double(timer.nsecsElapsed()) / 1e3);
        timer.restart();
        delete new TWndService(&container);
        formTimes.append(double(timer.nsecsElapsed()) / 1e3);
        timer.restart();
        for (const QString& statement : bare) {
            DBReq request(statement, false);
            conn.get()->insert(&request);
            request.wait(false, nullptr);
            if (request.m_status != 0)
                qFatal("refused: %s", qPrintable(statement));
        }
        bareTimes.append(double(timer.nsecsElapsed()) / 1e3);
        QCoreApplication::processEvents();
    }
    const double page = median(pageTimes);
    const double floor = median(bareTimes);
    std::printf("Services page opened (16 selects, %d items)  median %8.0f us\n", items, page);
    std::printf("16 table loads (DBTable::select, flags 3)    median %8.0f us\n", median(loadTimes));
    std::printf("the form alone                               median %8.0f us\n", median(formTimes));
    std::printf("16 bare round trips (DBReq::wait)            median %8.0f us\n", floor);
    std::printf("ratio %.2f x (goal <= 1.2), %d runs each\n", page / floor, runs);
    return 0;
}
