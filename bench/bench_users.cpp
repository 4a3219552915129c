// The users page on a server of 100,000 users in 10 domains of 10,000 each.
//
// 1. Switching the page between two domains (the domain box refilled, the list rebuilt
//    with the 10,000 users of the chosen domain and sorted), beside a bare QTreeWidget
//    filled with the same 10,000 users' texts and sorted once, in the same run.
// 2. The time from OK in the edit dialog to the pending list updated (key check, item
//    redrawn, the whole difference handed to the controller), on that page and on one of
//    10,000 users; the ratio shows whether it grows linearly.
//
//     bench_users [users per domain] [runs]

#include "benchgoal.h"
#include "dbctrl.h"
#include "dialogrecorder.h"
#include "dlgedituser.h"
#include "globaldata.h"
#include "pagesession.h"
#include "usersfixture.h"
#include "wnduser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace StandIn;

namespace {

const int domainCount = 10;

QString domainName(int d)
{
    return d == 0 ? QString() : QStringLiteral("domain%1.example").arg(d);
}

QStringList userRow(int d, int i)
{
    // Scrambled, so that the sort has work to do.
    const int key = int((quint64(i) * 7919u) % 10007u);
    return {QStringLiteral("user%1x%2").arg(key, 5, 10, QLatin1Char('0')).arg(i), domainName(d),
            "1", "0", "1", "", "staff", QString::number(qint64(i % 50) << 20), "100",
            QStringLiteral("Full Name %1").arg(i), QStringLiteral("Desk %1").arg(key % 311), "Sent",
            "Drafts", "0", "0", "20", "en", ""};
}

void installServer(TestServer& server, int perDomain, int domains)
{
    QList<QStringList> domainRows, users;
    for (int d = 0; d < domains; ++d) {
        domainRows.append({d == 0 ? QStringLiteral("primary.example") : domainName(d),
                           d == 0 ? "0" : "1", "", "", "", "", ""});
        for (int i = 0; i < perDomain; ++i)
            users.append(userRow(d, i));
    }
    server.setTable("domain",
                    {{"domain", TypeString, true}, {"type", TypeInt}, {"alias", TypeString},
                     {"fwhost", TypeString}, {"ntauthdomain", TypeString}, {"pamservice", TypeString},
                     {"kerberosrealm", TypeString}},
                    domainRows);
    server.setTable("user", UsersFixture::userColumns(), users);
    server.setTable("group", {{"name", TypeString, true}, {"domain", TypeString, true},
                              {"description", TypeString}, {"rights", TypeInt}},
                    {{"staff", "", "All staff", "0"}});
    server.setTable("template",
                    {{"tempname", TypeString, true}, {"domain", TypeString}, {"description", TypeString},
                     {"auth_type", TypeInt}, {"rights", TypeInt}, {"groups", TypeIdList},
                     {"qstorage", TypeInt64}, {"qmessage", TypeInt}, {"sentfolder", TypeString},
                     {"draftfolder", TypeString}, {"hidefldlist", TypeInt}, {"showsub", TypeInt},
                     {"msgperpage", TypeInt}, {"preflang", TypeString}},
                    {});
}

struct Times
{
    double best = 0;
    double median = 0;
};

Times measure(int runs, const std::function<double()>& once)
{
    QList<double> times;
    for (int run = 0; run < runs; ++run) {
        times.append(once());
        QCoreApplication::processEvents();
    }
    std::sort(times.begin(), times.end());
    return {times.first(), times.at(times.size() / 2)};
}

double timed(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

void report(const char* what, const Times& times, const Times& reference)
{
    std::printf("%-52s best %8.2f ms  median %8.2f ms  (%.2f x)\n", what, times.best,
                times.median, reference.median > 0 ? times.median / reference.median : 0.0);
}

// The texts the page shows for the users of one domain, filled bare and sorted once.
void fillBare(QTreeWidget* tree, const QList<QStringList>& users)
{
    tree->setSortingEnabled(false);
    tree->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(users.size());
    for (const QStringList& user : users) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, user.at(0));
        item->setText(1, user.at(9));
        item->setText(2, user.at(10));
        items.append(item);
    }
    tree->addTopLevelItems(items);
    tree->setSortingEnabled(true);
}

// One page on a server of `domains` domains of `perDomain` users each.
struct UsersPage
{
    UsersPage(int perDomain, int domains)
    {
        installServer(*session.server, perDomain, domains);
        if (!session.connect())
            qFatal("bench_users: no connection");
        globalData.currentDomain.clear();
        page = std::make_unique<WndUser>(nullptr, session.connection(), &session.ctrl, nullptr);
        page->resize(800, 600);
        page->show();
    }

    // From the click on OK (nothing typed) until the edit has been handed over.
    double timeFromOk()
    {
        QTreeWidget* list = page->m_list;
        list->setCurrentItem(list->topLevelItem(list->topLevelItemCount() / 2));
        QElapsedTimer timer;
        DialogRecorder recorder;
        recorder.answerDialog([&timer](QDialog* dialog) {
            auto* edit = static_cast<DlgEditUser*>(dialog);
            edit->m_editFull->setText(edit->m_editFull->text() + QLatin1Char('!'));
            timer.start();
            edit->m_btnOK->click();
            return edit->result();
        });
        page->slotEdit();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (session.ctrl.m_pending.size() != 1)
            qFatal("bench_users: the edit was not handed over");
        session.ctrl.reset();
        return ms;
    }

    PageSession session;
    std::unique_ptr<WndUser> page; // goes before the session's connection
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int perDomain = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 7;

    UsersPage large(perDomain, domainCount);
    const QString first = QStringLiteral("domain3.example");
    const QString second = QStringLiteral("domain7.example");

    QList<QStringList> firstUsers;
    for (int i = 0; i < perDomain; ++i)
        firstUsers.append(userRow(3, i));
    QTreeWidget bareTree;
    bareTree.setRootIsDecorated(false);
    bareTree.setColumnCount(3);
    bareTree.sortByColumn(0, Qt::AscendingOrder);
    bareTree.resize(800, 600);
    bareTree.show();
    const Times bare = measure(runs, [&] { return timed([&] { fillBare(&bareTree, firstUsers); }); });

    bool flip = false;
    const Times switching = measure(runs, [&] {
        flip = !flip;
        return timed([&] { large.page->slotDomainChanged(flip ? first : second); });
    });
    if (large.page->m_list->topLevelItemCount() != perDomain) {
        std::fprintf(stderr, "bench_users: the page lists %d users, not %d\n",
                     large.page->m_list->topLevelItemCount(), perDomain);
        return 1;
    }

    const Times okLarge = measure(runs, [&] { return large.timeFromOk(); });
    large.page.reset();

    UsersPage small(perDomain, 1);
    const Times okSmall = measure(runs, [&] { return small.timeFromOk(); });

    std::printf("%d domains of %d users, %d runs each\n", domainCount, perDomain, runs);
    report("bare fill of one domain's users + one sort", bare, bare);
    report("switching between two domains", switching, bare);
    std::printf("\n");
    report("OK to pending list, one domain alone", okSmall, okSmall);
    report("OK to pending list, all domains", okLarge, okSmall);
    std::printf("\n");
    printGoal("switching between two domains / bare fill", bare.median > 0 ? switching.median / bare.median : 0.0,
              "x", "<=", 2);
    printGoal("OK to pending list, all domains / one domain",
              okSmall.median > 0 ? okLarge.median / okSmall.median : 0.0, "x", "<=", 12);
    return 0;
}
