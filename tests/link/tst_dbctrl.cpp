#include "dbctrl.h"

#include <QMetaMethod>
#include <QSignalSpy>
#include <QTest>

namespace {

// Every emission of the controller, in order, as text: "sig_empty(true)", "sig_apply()".
class EmissionLog
{
public:
    explicit EmissionLog(DBCtrl &ctrl)
    {
        QObject::connect(&ctrl, &DBCtrl::sig_reset, [this] { log << "sig_reset()"; });
        QObject::connect(&ctrl, &DBCtrl::sig_apply, [this] { log << "sig_apply()"; });
        QObject::connect(&ctrl, &DBCtrl::sig_before_apply,
                         [this] { log << "sig_before_apply()"; });
        QObject::connect(&ctrl, &DBCtrl::sig_update_again,
                         [this] { log << "sig_update_again()"; });
        QObject::connect(&ctrl, &DBCtrl::sig_empty, [this](bool empty) {
            log << (empty ? QStringLiteral("sig_empty(true)")
                          : QStringLiteral("sig_empty(false)"));
        });
    }

    QStringList log;
};

} // namespace

class TestDBCtrl : public QObject
{
    Q_OBJECT

private slots:
    void set_data();
    void set();
    void setWithPointer();
    void setNullList();
    void setOwnListAppends();
    void applyAndReset_data();
    void applyAndReset();
    void beforeApplyAndUpdateAgain_data();
    void beforeApplyAndUpdateAgain();
    void receiversRunBeforeSetReturns();
    void signalsInDeclaredOrder();
};

void TestDBCtrl::set_data()
{
    QTest::addColumn<QStringList>("pending");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<bool>("append");
    QTest::addColumn<QStringList>("expectedPending");
    QTest::addColumn<QStringList>("expectedSignals");

    const QStringList none;
    const QStringList one{"update user set name='a' where id='1'"};
    const QStringList two{"delete from alias where id='7'", "insert alias set name='b'"};

    QTest::newRow("empty, replace by empty") << none << none << false << none << none;
    QTest::newRow("empty, append empty") << none << none << true << none << none;
    QTest::newRow("empty, replace by two")
        << none << two << false << two << QStringList{"sig_empty(false)"};
    QTest::newRow("empty, append two")
        << none << two << true << two << QStringList{"sig_empty(false)"};
    QTest::newRow("one, append two")
        << one << two << true << (one + two) << none;
    QTest::newRow("one, append empty") << one << none << true << one << none;
    QTest::newRow("one, replace by two") << one << two << false << two << none;
    QTest::newRow("two, replace by empty")
        << two << none << false << none << QStringList{"sig_empty(true)"};
    QTest::newRow("duplicates kept")
        << one << one << true << (one + one) << none;
}

void TestDBCtrl::set()
{
    QFETCH(QStringList, pending);
    QFETCH(QStringList, list);
    QFETCH(bool, append);
    QFETCH(QStringList, expectedPending);
    QFETCH(QStringList, expectedSignals);

    DBCtrl ctrl;
    ctrl.m_pending = pending;
    EmissionLog emissions(ctrl);

    ctrl.set(list, append);

    QCOMPARE(ctrl.m_pending, expectedPending);
    QCOMPARE(emissions.log, expectedSignals);
}

void TestDBCtrl::setWithPointer()
{
    DBCtrl ctrl;
    EmissionLog emissions(ctrl);
    QStringList list{"select 1"};

    ctrl.set(&list, false);
    list.append("select 2"); // the controller holds a copy

    QCOMPARE(ctrl.m_pending, QStringList{"select 1"});
    QCOMPARE(emissions.log, QStringList{"sig_empty(false)"});
}

void TestDBCtrl::setNullList()
{
    DBCtrl ctrl;
    ctrl.m_pending = QStringList{"select 1"};
    EmissionLog emissions(ctrl);

    ctrl.set(static_cast<const QStringList *>(nullptr), true);
    QCOMPARE(ctrl.m_pending, QStringList{"select 1"});
    QVERIFY(emissions.log.isEmpty());

    ctrl.set(static_cast<const QStringList *>(nullptr), false);
    QVERIFY(ctrl.m_pending.isEmpty());
    QCOMPARE(emissions.log, QStringList{"sig_empty(true)"});
}

void TestDBCtrl::setOwnListAppends()
{
    DBCtrl ctrl;
    ctrl.m_pending = QStringList{"a", "b"};

    ctrl.set(&ctrl.m_pending, true);

    QCOMPARE(ctrl.m_pending, (QStringList{"a", "b", "a", "b"}));
}

void TestDBCtrl::applyAndReset_data()
{
    QTest::addColumn<QStringList>("pending");
    QTest::addColumn<bool>("apply");
    QTest::addColumn<QStringList>("expectedSignals");

    const QStringList two{"update smtp set port='25'", "update smtp set port='26'"};
    QTest::newRow("apply, empty")
        << QStringList() << true << QStringList{"sig_empty(true)", "sig_apply()"};
    QTest::newRow("apply, two pending")
        << two << true << QStringList{"sig_empty(true)", "sig_apply()"};
    QTest::newRow("reset, empty")
        << QStringList() << false << QStringList{"sig_empty(true)", "sig_reset()"};
    QTest::newRow("reset, two pending")
        << two << false << QStringList{"sig_empty(true)", "sig_reset()"};
}

void TestDBCtrl::applyAndReset()
{
    QFETCH(QStringList, pending);
    QFETCH(bool, apply);
    QFETCH(QStringList, expectedSignals);

    DBCtrl ctrl;
    ctrl.m_pending = pending;
    EmissionLog emissions(ctrl);
    // The pages see the list already empty when they are told to commit or restore.
    int pendingSeenByReceivers = -1;
    auto look = [&] { pendingSeenByReceivers = int(ctrl.m_pending.size()); };
    QObject::connect(&ctrl, &DBCtrl::sig_apply, look);
    QObject::connect(&ctrl, &DBCtrl::sig_reset, look);

    if (apply)
        ctrl.apply();
    else
        ctrl.reset();

    QVERIFY(ctrl.m_pending.isEmpty());
    QCOMPARE(emissions.log, expectedSignals);
    QCOMPARE(pendingSeenByReceivers, 0);
}

void TestDBCtrl::beforeApplyAndUpdateAgain_data()
{
    QTest::addColumn<bool>("beforeApply");
    QTest::addColumn<QStringList>("expectedSignals");

    QTest::newRow("before_apply") << true << QStringList{"sig_before_apply()"};
    QTest::newRow("update_again") << false << QStringList{"sig_update_again()"};
}

void TestDBCtrl::beforeApplyAndUpdateAgain()
{
    QFETCH(bool, beforeApply);
    QFETCH(QStringList, expectedSignals);

    DBCtrl ctrl;
    ctrl.m_pending = QStringList{"delete from user where id='3'"};
    EmissionLog emissions(ctrl);

    if (beforeApply)
        ctrl.before_apply();
    else
        ctrl.update_again();

    QCOMPARE(emissions.log, expectedSignals);
    QCOMPARE(ctrl.m_pending, QStringList{"delete from user where id='3'"});
}

void TestDBCtrl::receiversRunBeforeSetReturns()
{
    DBCtrl ctrl;
    QSignalSpy empty(&ctrl, &DBCtrl::sig_empty);

    ctrl.set(QStringList{"select 1"}, false);
    QCOMPARE(empty.size(), 1);
    QCOMPARE(empty.at(0).at(0).toBool(), false);

    ctrl.set(QStringList(), false);
    QCOMPARE(empty.size(), 2);
    QCOMPARE(empty.at(1).at(0).toBool(), true);
}

void TestDBCtrl::signalsInDeclaredOrder()
{
    const QMetaObject &meta = DBCtrl::staticMetaObject;
    QStringList signalSignatures;
    QStringList others;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        (method.methodType() == QMetaMethod::Signal ? signalSignatures : others)
            << QString::fromLatin1(method.methodSignature());
    }
    QCOMPARE(signalSignatures, (QStringList{"sig_reset()", "sig_apply()",
                                            "sig_before_apply()", "sig_update_again()",
                                            "sig_empty(bool)"}));
    QVERIFY2(others.isEmpty(), qPrintable(others.join(", ")));
}

QTEST_GUILESS_MAIN(TestDBCtrl)
#include "tst_dbctrl.moc"
