// The Antispam and Antivirus pages with 5,000 rules beside the same pages with 500, in the
// same run: opening the page (loads, widgets, the rule list filled) and toggling one rule's
// check box until the pending list is rebuilt. Linear work gives a ratio near 10; a list
// that re-diffed the whole table once per rule as it filled would give about 100. A toggle
// makes the difference again from its rule alone, so its ratio stays near 1.
//
//     bench_filterpages [large] [small] [runs]

#include "benchtiming.h"
#include "dbctrl.h"
#include "pagesession.h"
#include "qattachitem.h"
#include "qfilteritem.h"
#include "wndantispam.h"
#include "wndavir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

using namespace StandIn;

namespace {

// In milliseconds with fractions: a toggle takes a few microseconds.
struct FineTimes
{
    double best = 0;
    double median = 0;
};

FineTimes measureFine(int runs, const std::function<double()>& once)
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

void installRules(TestServer& server, int count)
{
    QList<QStringList> headerRules, attachRules;
    for (int i = 0; i < count; ++i) {
        headerRules.append({i % 2 ? "Subject" : "From", QString::number(i % 5),
                            QStringLiteral("text %1").arg(i), QString::number(i % 2)});
        attachRules.append({QString::number(i % 2), QStringLiteral("*.x%1").arg(i),
                            QString::number(i % 2), QString::number(i % 2),
                            QString::number(count - i)});
    }
    server.setTable("HeaderFilter", server.columns("HeaderFilter"), headerRules);
    server.setTable("AttachFilter", server.columns("AttachFilter"), attachRules);
}

template<class Page, class Item>
struct Measured
{
    FineTimes open;
    FineTimes toggle;
};

template<class Page, class Item>
Measured<Page, Item> measurePage(int count, int runs,
                                 const std::function<Page*(PageSession&)>& build)
{
    PageSession session;
    installRules(*session.server, count);
    if (!session.connect())
        qFatal("bench_filterpages: no connection");
    session.owner.show();
    Measured<Page, Item> result;
    result.open = measureFine(runs, [&] {
        std::unique_ptr<Page> page;
        const double ms = timed([&] { page.reset(build(session)); });
        if (page->m_list->topLevelItemCount() != count || !session.ctrl.m_pending.isEmpty())
            qFatal("bench_filterpages: the page did not open cleanly");
        return ms;
    });
    std::unique_ptr<Page> page(build(session));
    auto* item = static_cast<Item*>(page->m_list->topLevelItem(count / 2));
    result.toggle = measureFine(runs, [&] {
        const bool on = !item->isOn();
        const double ms = timed([&] { item->setData(0, Qt::CheckStateRole, on ? Qt::Checked : Qt::Unchecked); });
        if (session.ctrl.m_pending.size() > 1)
            qFatal("bench_filterpages: the toggle was not handed over alone");
        return ms;
    });
    return result;
}

void report(const char* what, const FineTimes& times, const FineTimes& reference)
{
    std::printf("%-44s best %9.2f ms  median %9.2f ms  (%.2f x)\n", what, times.best,
                times.median, reference.median > 0 ? times.median / reference.median : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int large = argc > 1 ? std::max(1, atoi(argv[1])) : 5000;
    const int small = argc > 2 ? std::max(1, atoi(argv[2])) : 500;
    const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 5;

    auto antispam = [](PageSession& s) {
        return new WndAntispam(&s.owner, s.connection(), nullptr, &s.ctrl, nullptr, {});
    };
    auto antivirus = [](PageSession& s) {
        return new WndAvir(&s.owner, s.connection(), &s.ctrl, nullptr, nullptr, {});
    };
    const auto spamSmall = measurePage<WndAntispam, QFilterItem>(small, runs, antispam);
    const auto spamLarge = measurePage<WndAntispam, QFilterItem>(large, runs, antispam);
    const auto virSmall = measurePage<WndAvir, QAttachItem>(small, runs, antivirus);
    const auto virLarge = measurePage<WndAvir, QAttachItem>(large, runs, antivirus);

    std::printf("%d rules beside %d, %d runs each; the ratio is to the smaller list\n", large,
                small, runs);
    report("Antispam: open, small", spamSmall.open, spamSmall.open);
    report("Antispam: open, large", spamLarge.open, spamSmall.open);
    report("Antispam: toggle one rule, small", spamSmall.toggle, spamSmall.toggle);
    report("Antispam: toggle one rule, large", spamLarge.toggle, spamSmall.toggle);
    report("Antivirus: open, small", virSmall.open, virSmall.open);
    report("Antivirus: open, large", virLarge.open, virSmall.open);
    report("Antivirus: toggle one rule, small", virSmall.toggle, virSmall.toggle);
    report("Antivirus: toggle one rule, large", virLarge.toggle, virSmall.toggle);
    std::printf("\n");
    auto goal = [large, small](const char* what, const FineTimes& largeTimes, const FineTimes& smallTimes,
                               double target) {
        char line[80];
        std::snprintf(line, sizeof line, "%s, %d / %d rules", what, large, small);
        printGoal(line, smallTimes.median > 0 ? largeTimes.median / smallTimes.median : 0.0, "x", "<=", target);
    };
    goal("Antispam: open", spamLarge.open, spamSmall.open, 12);
    goal("Antispam: toggle one rule", spamLarge.toggle, spamSmall.toggle, 11);
    goal("Antivirus: open", virLarge.open, virSmall.open, 12);
    goal("Antivirus: toggle one rule", virLarge.toggle, virSmall.toggle, 11);
    return 0;
}
