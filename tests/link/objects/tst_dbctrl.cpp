#include "dbctrl.h"

#include <QMetaMethod>
#include <QTest>

namespace {

// Every emission of the controller, in order, as text: "sig_empty(true)", "sig_apply()".
struct EmissionLog
{
    explicit EmissionLog(DBCtrl &ctrl)
    {
        QObject::connect(&ctrl, &DBCtrl::sig_reset, [this] { log << "sig_reset()"; });
        QObject::connect(&ctrl, &DBCtrl::sig_apply, [this] { log << "sig_apply()"; });
        QObject::connect(&ctrl, &DBCtrl::sig_before_apply, [this] { log << "sig_before_apply()"; });
        QObject::connect(&ctrl, &DBCtrl::sig_update_again, [this] { log << "sig_update_again()"; });
        QObject::connect(&ctrl, &DBCtrl::sig_empty,
                         [this](bool empty) { log << QStringLiteral("sig_empty(%1)").arg(empty ? "true" : "false"); });
        QObject::connect(&ctrl, &DBCtrl::sig_carried_out, [this](const QStringList &statements) {
            log << QStringLiteral("sig_carried_out(%1)").arg(statements.join(QLatin1String("; ")));
        });
    }

    QStringList log;
};

using Phase = void (DBCtrl::*)();
enum ListSource { GivenList, NoList, OwnList };

} // namespace

Q_DECLARE_METATYPE(Phase)

class TestDBCtrl : public QObject
{
    Q_OBJECT

private slots:
    void set_data()
    {
        QTest::addColumn<QStringList>("pending");
        QTest::addColumn<int>("source");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<bool>("append");
        QTest::addColumn<QStringList>("expectedPending");
        QTest::addColumn<QStringList>("expectedSignals");
        const QStringList none;
        const QStringList one{"update user set name='a' where id='1'"};
        const QStringList two{"delete from alias where id='7'", "insert alias set name='b'"};
        const QStringList becameEmpty{"sig_empty(true)"};
        QTest::newRow("empty, replace by empty") << none << int(GivenList) << none << false << none << none;
        QTest::newRow("empty, append two") << none << int(GivenList) << two << true << two << QStringList{"sig_empty(false)"};
        QTest::newRow("one, append two: in order") << one << int(GivenList) << two << true << one + two << none;
        QTest::newRow("two, replace by empty") << two << int(GivenList) << none << false << none << becameEmpty;
        QTest::newRow("one, replace by no list") << one << int(NoList) << none << false << none << becameEmpty;
        QTest::newRow("two, append its own list") << two << int(OwnList) << none << true << two + two << none;
    }

    void set()
    {
        QFETCH(QStringList, pending);
        QFETCH(int, source);
        QFETCH(QStringList, list);
        QFETCH(bool, append);
        QFETCH(QStringList, expectedPending);
        QFETCH(QStringList, expectedSignals);
        DBCtrl ctrl;
        ctrl.m_pending = pending;
        EmissionLog emissions(ctrl);
        ctrl.set(source == NoList ? nullptr : source == OwnList ? &ctrl.m_pending : &list, append);
        QCOMPARE(ctrl.m_pending, expectedPending);
        QCOMPARE(emissions.log, expectedSignals);
    }

    void phases_data()
    {
        QTest::addColumn<Phase>("phase");
        QTest::addColumn<QStringList>("pending");
        QTest::addColumn<QStringList>("expectedSignals");
        const QStringList two{"update smtp set port='25'", "update smtp set port='26'"};
        // Apply and Reset announce the empty list even when it was empty already.
        QTest::newRow("apply, empty") << &DBCtrl::apply << QStringList() << QStringList{"sig_empty(true)", "sig_apply()"};
        QTest::newRow("apply, two pending") << &DBCtrl::apply << two << QStringList{"sig_empty(true)", "sig_apply()"};
        QTest::newRow("reset, two pending") << &DBCtrl::reset << two << QStringList{"sig_empty(true)", "sig_reset()"};
        QTest::newRow("before_apply") << &DBCtrl::before_apply << two << QStringList{"sig_before_apply()"};
        QTest::newRow("update_again") << &DBCtrl::update_again << two << QStringList{"sig_update_again()"};
    }

    void phases()
    {
        QFETCH(Phase, phase);
        QFETCH(QStringList, pending);
        QFETCH(QStringList, expectedSignals);
        DBCtrl ctrl;
        ctrl.m_pending = pending;
        EmissionLog emissions(ctrl);
        // The pages see the list already empty when they are told to commit or restore.
        int pendingSeenByPages = -1;
        auto look = [&] { pendingSeenByPages = int(ctrl.m_pending.size()); };
        QObject::connect(&ctrl, &DBCtrl::sig_apply, look);
        QObject::connect(&ctrl, &DBCtrl::sig_reset, look);
        (ctrl.*phase)();
        QCOMPARE(emissions.log, expectedSignals);
        const bool clears = phase == &DBCtrl::apply || phase == &DBCtrl::reset;
        QCOMPARE(ctrl.m_pending, clears ? QStringList() : pending);
        QCOMPARE(pendingSeenByPages, clears ? 0 : -1);
    }

    // An edit held back counts as pending: the buttons follow the two together, and only
    // what ends every edit (apply, reset, discard) lets it go.
    void heldBack_data()
    {
        QTest::addColumn<QStringList>("pending");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QStringList>("expectedSignals");
        QTest::addColumn<bool>("emptyAfter");
        QTest::addColumn<bool>("heldAfter");
        const QStringList one{"update relay set AuthUser='me'"};
        QTest::newRow("held, nothing pending") << QStringList() << "hold" << QStringList{"sig_empty(false)"} << false << true;
        QTest::newRow("held beside a statement") << one << "hold" << QStringList() << false << true;
        QTest::newRow("the statements go, the edit stays held") << one << "hold, set empty" << QStringList() << false << true;
        QTest::newRow("let go with nothing pending") << QStringList() << "hold, let go" << QStringList{"sig_empty(false)", "sig_empty(true)"} << true << false;
        QTest::newRow("apply lets go") << QStringList() << "hold, apply" << QStringList{"sig_empty(false)", "sig_empty(true)", "sig_apply()"} << true << false;
        QTest::newRow("reset lets go") << one << "hold, reset" << QStringList{"sig_empty(true)", "sig_reset()"} << true << false;
        QTest::newRow("discard, silently") << one << "hold, discard" << QStringList() << true << false;
        QTest::newRow("statements cleared by hand stay held") << one << "hold, clear" << QStringList() << false << true;
    }

    void heldBack()
    {
        QFETCH(QStringList, pending);
        QFETCH(QString, step);
        QFETCH(QStringList, expectedSignals);
        QFETCH(bool, emptyAfter);
        QFETCH(bool, heldAfter);
        DBCtrl ctrl;
        ctrl.m_pending = pending;
        EmissionLog emissions(ctrl);
        for (const QString &action : step.split(QStringLiteral(", "))) {
            if (action == QLatin1String("hold"))
                ctrl.setHeldBack(true);
            else if (action == QLatin1String("let go"))
                ctrl.setHeldBack(false);
            else if (action == QLatin1String("set empty"))
                ctrl.set(QStringList(), false);
            else if (action == QLatin1String("apply"))
                ctrl.apply();
            else if (action == QLatin1String("reset"))
                ctrl.reset();
            else if (action == QLatin1String("discard"))
                ctrl.discard();
            else if (action == QLatin1String("clear"))
                ctrl.m_pending.clear(); // as a page withdrawing an apply does
            else
                QFAIL(qPrintable(action));
        }
        QCOMPARE(emissions.log, expectedSignals);
        QCOMPARE(ctrl.isEmpty(), emptyAfter);
        QCOMPARE(ctrl.isHeldBack(), heldAfter);
    }

    void carriedOut_data()
    {
        QTest::addColumn<QStringList>("pending");
        QTest::addColumn<QStringList>("carriedOut");
        QTest::addColumn<QStringList>("expectedPending");
        QTest::addColumn<QStringList>("expectedSignals");
        const QStringList three{"delete from alias where id='7'", "insert alias set name='b'",
                                "insert alias set name='c'"};
        QTest::newRow("the first of three") << three << three.mid(0, 1) << three.mid(1)
                                            << QStringList{"sig_carried_out(delete from alias where id='7')"};
        QTest::newRow("two of three") << three << three.mid(0, 2) << three.mid(2)
                                      << QStringList{"sig_carried_out(delete from alias where id='7'; "
                                                     "insert alias set name='b')"};
        QTest::newRow("none") << three << QStringList() << three << QStringList();
        // A page handed its list in again meanwhile, in another order: each leaves once.
        const QStringList handedIn{"insert alias set name='c'", "insert alias set name='b'",
                                   "insert alias set name='b'"};
        QTest::newRow("handed in again meanwhile")
            << handedIn << QStringList{"insert alias set name='b'"}
            << QStringList{"insert alias set name='c'", "insert alias set name='b'"}
            << QStringList{"sig_carried_out(insert alias set name='b')"};
        // The same statement twice, one copy carried out along with another statement: the
        // other copy was not, and is still to be sent.
        const QStringList twice{"insert alias set name='b'", "insert alias set name='b'",
                                "insert alias set name='c'"};
        QTest::newRow("one of two copies and another")
            << twice << twice.mid(1) << twice.mid(0, 1)
            << QStringList{"sig_carried_out(insert alias set name='b'; insert alias set name='c')"};
        QTest::newRow("both copies") << twice << twice.mid(0, 2) << twice.mid(2)
                                     << QStringList{"sig_carried_out(insert alias set name='b'; "
                                                    "insert alias set name='b')"};
        QTest::newRow("all of them") << three.mid(0, 1) << three.mid(0, 1) << QStringList()
                                     << QStringList{"sig_empty(true)", "sig_carried_out(delete from alias where id='7')"};
    }

    void carriedOut()
    {
        QFETCH(QStringList, pending);
        QFETCH(QStringList, carriedOut);
        QFETCH(QStringList, expectedPending);
        QFETCH(QStringList, expectedSignals);
        DBCtrl ctrl;
        ctrl.m_pending = pending;
        EmissionLog emissions(ctrl);
        // The pages are told with the list already without them.
        QStringList pendingSeenByPages{"not told"};
        QObject::connect(&ctrl, &DBCtrl::sig_carried_out, [&] { pendingSeenByPages = ctrl.m_pending; });
        ctrl.carriedOut(carriedOut);
        QCOMPARE(ctrl.m_pending, expectedPending);
        QCOMPARE(emissions.log, expectedSignals);
        QCOMPARE(pendingSeenByPages, carriedOut.isEmpty() ? QStringList{"not told"} : expectedPending);
    }

    // A page that answers the reset with a load of its own meets the lost connection again,
    // whose report asks for a reset: the one under way is all there is, and once it is over
    // the next reset is a reset again.
    void resetAskedForWhileAnswered()
    {
        DBCtrl ctrl;
        ctrl.set(QStringList{"update smtp set MaxHops='31'"}, false);
        EmissionLog emissions(ctrl);
        int answers = 0;
        QObject::connect(&ctrl, &DBCtrl::sig_reset, [&] {
            if (++answers < 5)
                ctrl.reset();
        });
        ctrl.reset();
        QCOMPARE(answers, 1);
        QCOMPARE(emissions.log, (QStringList{"sig_empty(true)", "sig_reset()"}));
        ctrl.reset();
        QCOMPARE(answers, 2);
        QVERIFY(ctrl.m_pending.isEmpty());
    }

    void signalsAsDeclared()
    {
        // Hosts connect by name: these signatures, in this order, and no slots.
        const QMetaObject &meta = DBCtrl::staticMetaObject;
        QStringList methods;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            const QMetaMethod method = meta.method(i);
            methods << QString::fromLatin1(method.methodSignature())
                           + (method.methodType() == QMetaMethod::Signal ? "" : " (not a signal)");
        }
        QCOMPARE(methods, (QStringList{"sig_reset()", "sig_apply()", "sig_before_apply()", "sig_update_again()",
                                       "sig_empty(bool)", "sig_carried_out(QStringList)"}));
    }
};

QTEST_GUILESS_MAIN(TestDBCtrl)
#include "tst_dbctrl.moc"
