// The groups page on a server of 100,000 users: one edit of a group of 20,000 members and
// the same edit of a group of 2,000 members, in the same run. An edit is: open the edit
// dialog (the membership query and the member list), open the user picker (every other
// user of the domain offered), pick one user, OK, and the page hands the membership
// statement over. Goal: the large group costs at most 12 times the small one, which a
// membership kept in name sets allows and a search per member does not.
//
//     bench_groups [users] [large group] [small group] [runs]

#include "benchgoal.h"
#include "dbctrl.h"
#include "dbuserlist.h"
#include "dialogrecorder.h"
#include "dlgadduser.h"
#include "dlgeditgroup.h"
#include "globaldata.h"
#include "pagesession.h"
#include "usersfixture.h"
#include "wndgroup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace StandIn;

namespace {

QString userName(int i)
{
    // Scrambled, so that the lists have sorting to do.
    const int key = int((quint64(i) * 7919u) % 100003u);
    return QStringLiteral("user%1x%2").arg(key, 6, 10, QLatin1Char('0')).arg(i);
}

// Every `largeStep`-th user is in "large", every `smallStep`-th in "small".
void installServer(TestServer& server, int users, int largeStep, int smallStep)
{
    QList<QStringList> rows;
    rows.reserve(users);
    for (int i = 0; i < users; ++i) {
        QStringList groups;
        if (i % largeStep == 0)
            groups << QStringLiteral("large");
        if (i % smallStep == 0)
            groups << QStringLiteral("small");
        const QByteArray name = userName(i).toUtf8();
        const QByteArray fullName = QStringLiteral("Full Name %1").arg(i).toUtf8();
        const QByteArray list = groups.join(QLatin1Char(',')).toUtf8();
        rows.append(UsersFixture::user(name.constData(), "", fullName.constData(), list.constData()));
    }
    server.setTable("domain",
                    {{"domain", TypeString, true}, {"type", TypeInt}, {"alias", TypeString},
                     {"fwhost", TypeString}, {"ntauthdomain", TypeString}, {"pamservice", TypeString},
                     {"kerberosrealm", TypeString}},
                    {{"primary.example", "0", "", "", "", "", ""}});
    server.setTable("user", UsersFixture::userColumns(), rows);
    server.setTable("group", {{"name", TypeString, true}, {"domain", TypeString, true},
                              {"description", TypeString}, {"rights", TypeInt}},
                    {{"large", "", "A large group", "0"}, {"small", "", "A small group", "0"}});
}

struct Phases
{
    double open = 0;   // slotEdit until the dialog is up with its members
    double picker = 0; // the picker asked for until it is up with its offer
    double handOver = 0; // the picker's OK until the page has handed the statement over
    double total() const { return open + picker + handOver; }
};

struct Times
{
    double best = 0;
    double median = 0;
};

Times summarise(QList<double> times)
{
    std::sort(times.begin(), times.end());
    return {times.first(), times.at(times.size() / 2)};
}

double msSince(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

struct GroupsPage
{
    GroupsPage(int users, int largeStep, int smallStep)
    {
        installServer(*session.server, users, largeStep, smallStep);
        if (!session.connect())
            qFatal("bench_groups: no connection");
        globalData.currentDomain.clear();
        page = std::make_unique<WndGroup>(nullptr, session.connection(), &session.ctrl, nullptr);
        page->resize(800, 600);
        page->show();
        // The users table is loaded once per page, by the first dialog: not part of an edit.
        DialogRecorder recorder;
        edit(QStringLiteral("small"), false);
        session.ctrl.reset();
    }

    QTreeWidgetItem* item(const QString& name) const
    {
        for (int i = 0; i < page->m_list->topLevelItemCount(); ++i) {
            if (page->m_list->topLevelItem(i)->text(0) == name)
                return page->m_list->topLevelItem(i);
        }
        qFatal("bench_groups: no group %s", qPrintable(name));
    }

    // One edit of the group; `pick` adds the first user the picker offers.
    Phases edit(const QString& group, bool pick = true)
    {
        Phases phases;
        QElapsedTimer timer;
        DialogRecorder recorder;
        recorder.answerDialog([&](QDialog* dialog) {
            phases.open = msSince(timer);
            auto* edit = static_cast<DlgEditGroup*>(dialog);
            if (!pick)
                return int(QDialog::Rejected);
            recorder.answerDialog([&](QDialog* picker) {
                phases.picker = msSince(timer) - phases.open;
                auto* users = static_cast<DlgAddUser*>(picker);
                users->m_listUsers->topLevelItem(0)->setSelected(true);
                users->m_btnOK->click();
                return users->result();
            });
            edit->slotAdd();
            edit->m_btnOK->click();
            return edit->result();
        });
        page->m_list->setCurrentItem(item(group));
        timer.start();
        page->slotEdit();
        phases.handOver = msSince(timer) - phases.open - phases.picker;
        if (pick && session.ctrl.m_pending.size() != 1)
            qFatal("bench_groups: %lld statements handed over, not 1",
                   static_cast<long long>(session.ctrl.m_pending.size()));
        // Reset forgets the membership: the next edit asks the server again.
        session.ctrl.reset();
        return phases;
    }

    PageSession session;
    std::unique_ptr<WndGroup> page; // goes before the session's connection
};

void report(const char* what, int members, const QList<Phases>& runs, double reference)
{
    QList<double> totals, opens, pickers, handOvers;
    for (const Phases& run : runs) {
        totals << run.total();
        opens << run.open;
        pickers << run.picker;
        handOvers << run.handOver;
    }
    const Times total = summarise(totals);
    std::printf("%-22s %6d members  best %8.1f ms  median %8.1f ms  (%.2f x)   "
                "open %.1f, picker %.1f, OK to hand-over %.1f ms (medians)\n",
                what, members, total.best, total.median,
                reference > 0 ? total.median / reference : 0.0, summarise(opens).median,
                summarise(pickers).median, summarise(handOvers).median);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int users = argc > 1 ? std::max(100, atoi(argv[1])) : 100000;
    const int large = argc > 2 ? std::max(1, atoi(argv[2])) : 20000;
    const int small = argc > 3 ? std::max(1, atoi(argv[3])) : 2000;
    const int runs = argc > 4 ? std::max(1, atoi(argv[4])) : 5;

    GroupsPage page(users, std::max(1, users / large), std::max(1, users / small));
    QList<Phases> smallRuns, largeRuns;
    // Alternated, so that both see the same state of the process.
    for (int run = 0; run < runs; ++run) {
        smallRuns << page.edit(QStringLiteral("small"));
        largeRuns << page.edit(QStringLiteral("large"));
        QCoreApplication::processEvents();
    }
    QList<double> smallTotals;
    for (const Phases& run : smallRuns)
        smallTotals << run.total();
    const double reference = summarise(smallTotals).median;

    std::printf("%d users, %d runs each; an edit: open, picker, pick one, OK, hand-over\n", users, runs);
    report("small group", (users + std::max(1, users / small) - 1) / std::max(1, users / small), smallRuns, reference);
    report("large group", (users + std::max(1, users / large) - 1) / std::max(1, users / large), largeRuns, reference);
    QList<double> largeTotals;
    for (const Phases& run : largeRuns)
        largeTotals << run.total();
    printGoal("one edit, large / small group", reference > 0 ? summarise(largeTotals).median / reference : 0.0, "x",
              "<=", 12);
    return 0;
}
