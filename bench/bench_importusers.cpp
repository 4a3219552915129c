// The import of users from a Windows NT domain on the users page: the time from OK in
// the second import step (accounts ticked, "Default" chosen) until the new users are in
// the pending list and the list is rebuilt, for 1,000 and for 10,000 accounts in the same
// run. The page holds 5,000 users of its domain, against which every name is checked.
// The ratio shows whether the work grows linearly (10 would be exactly linear).
//
//     bench_importusers [runs]

#include "benchgoal.h"
#include "dbctrl.h"
#include "dialogrecorder.h"
#include "dlgimport.h"
#include "dlgimport2.h"
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

using namespace StandIn;

namespace {

const int pageUsers = 5000;

QList<QStringList> ntAccounts(int count)
{
    QList<QStringList> accounts;
    accounts.reserve(count);
    for (int i = 0; i < count; ++i) {
        // Scrambled, so that the list's sort has work to do.
        const int key = int((quint64(i) * 7919u) % 100003u);
        accounts.append({QStringLiteral("nt%1x%2").arg(key, 6, 10, QLatin1Char('0')).arg(i),
                         QStringLiteral("Imported %1").arg(i), i % 3 ? QString() : QStringLiteral("Branch")});
    }
    return accounts;
}

struct ImportPage
{
    explicit ImportPage(int accounts)
    {
        UsersFixture::install(*session.server);
        QList<QStringList> users;
        for (int i = 0; i < pageUsers; ++i)
            users.append(UsersFixture::user(qPrintable(QStringLiteral("user%1").arg(i)), "", "Some One"));
        session.server->setTable("user", UsersFixture::userColumns(), users);
        session.server->setNtDomain(QStringLiteral("CORP"), ntAccounts(accounts));
        if (!session.connect())
            qFatal("bench_importusers: no connection");
        globalData.currentDomain.clear();
        page = std::make_unique<WndUser>(nullptr, session.connection(), &session.ctrl, nullptr);
        page->resize(800, 600);
        page->show();
    }

    double timeFromOk(int expected)
    {
        QElapsedTimer timer;
        DialogRecorder recorder;
        recorder.answerDialog([](QDialog* dialog) {
            auto* source = static_cast<DlgImport*>(dialog);
            source->m_editDomain->setText(QStringLiteral("CORP"));
            source->m_btnOK->click();
            return source->result();
        });
        recorder.answerDialog([&timer](QDialog* dialog) {
            auto* found = static_cast<DlgImport2*>(dialog);
            timer.start();
            found->m_btnOK->click();
            return found->result();
        });
        page->slotImport();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (session.ctrl.m_pending.size() != expected || !recorder.messages.isEmpty())
            qFatal("bench_importusers: %d statements, not %d", int(session.ctrl.m_pending.size()), expected);
        session.ctrl.reset(); // the page restores its table and its list
        return ms;
    }

    PageSession session;
    std::unique_ptr<WndUser> page; // goes before the session's connection
};

double median(int runs, ImportPage& page, int accounts)
{
    QList<double> times;
    for (int run = 0; run < runs; ++run) {
        times.append(page.timeFromOk(accounts));
        QCoreApplication::processEvents();
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    ImportPage small(1000);
    const double smallMs = median(runs, small, 1000);
    ImportPage large(10000);
    const double largeMs = median(runs, large, 10000);

    std::printf("import of  1,000 accounts, OK to pending list ready: median %9.2f ms\n", smallMs);
    std::printf("import of 10,000 accounts, OK to pending list ready: median %9.2f ms\n", largeMs);
    printGoal("OK to pending list, 10,000 / 1,000 accounts", smallMs > 0 ? largeMs / smallMs : 0.0, "x", "<=", 12);
    return 0;
}
