#include "dbctrl.h"

#include <QMetaMethod>
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
        QObject::connect(&ctrl, &DBCtrl::sig_before_apply, [this] { log << "sig_before_apply()"; });
        QObject::connect(&ctrl, &DBCtrl::sig_update_again, [this] { log << "sig_update_again()"; });
        QObject::connect(&ctrl, &DBCtrl::sig_empty, [this](bool empty) {
            log << (empty ? QStringLiteral("sig_empty(true)") : QStringLiteral("sig_empty(false)"));
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
    void setOwnListAppends();
    void phases_data();
    void phases();
    void signalsAsDeclared();
};

void TestDBCtrl::set_data()
{
    QTest::addColumn<QStringList>("pending");
    QTest::addColumn<bool>("nullList");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<bool>("append");
    QTest::addColumn<QStringList>("expectedPending");
    QTest::addColumn<QStringList>("expectedSignals");

    const QStringList none;
    const QStringList one{"update user set name='a' where id='1'"};
    const QStringList two{"delete from alias where id='7'", "insert alias set name='b'"};

    QTest::newRow("empty, replace by empty") << none << false << none << false << none << none;
    QTest::newRow("empty, append two")
        << none << false << two << true << two << QStringList{"sig_empty(false)"};
    QTest::newRow("one, append two: in order") << one << false << two << true << one + two << none;
    QTest::newRow("one, replace by two") << one << false << two << false << two << none;
    QTest::newRow("two, replace by empty")
        << two << false << none << false << none << QStringList{"sig_empty(true)"};
    QTest::newRow("one, append no list") << one << true << none << true << one << none;
    QTest::newRow("one, replace by no list")
        << one << true << none << false << none << QStringList{"sig_empty(true)"};
}

void TestDBCtrl::set()
{
    QFETCH(QStringList, pending);
    QFETCH(bool, nullList);
    QFETCH(QStringList, list);
    QFETCH(bool, append);
    QFETCH(QStringList, expectedPending);
    QFETCH(QStringList, expectedSignals);

    DBCtrl ctrl;
    ctrl.m_pending = pending;
    EmissionLog emissions(ctrl);

    ctrl.set(nullList ? nullptr : &list, append);

    QCOMPARE(ctrl.m_pending, expectedPending);
    QCOMPARE(emissions.log, expectedSignals);
}

void TestDBCtrl::setOwnListAppends()
{
    DBCtrl ctrl;
    ctrl.m_pending = QStringList{"a", "b"};
    ctrl.set(&ctrl.m_pending, true);
    QCOMPARE(ctrl.m_pending, (QStringList{"a", "b", "a", "b"}));
}

void TestDBCtrl::phases_data()
{
    QTest::addColumn<QString>("phase");
    QTest::addColumn<QStringList>("pending");
    QTest::addColumn<QStringList>("expectedPending");
    QTest::addColumn<QStringList>("expectedSignals");

    const QStringList two{"update smtp set port='25'", "update smtp set port='26'"};
    // Apply and Reset announce the empty list even when it was empty already.
    QTest::newRow("apply, empty") << "apply" << QStringList() << QStringList()
                                  << QStringList{"sig_empty(true)", "sig_apply()"};
    QTest::newRow("apply, two pending") << "apply" << two << QStringList()
                                        << QStringList{"sig_empty(true)", "sig_apply()"};
    QTest::newRow("reset, two pending") << "reset" << two << QStringList()
                                        << QStringList{"sig_empty(true)", "sig_reset()"};
    QTest::newRow("before_apply") << "before_apply" << two << two << QStringList{"sig_before_apply()"};
    QTest::newRow("update_again") << "update_again" << two << two << QStringList{"sig_update_again()"};
}

void TestDBCtrl::phases()
{
    QFETCH(QString, phase);
    QFETCH(QStringList, pending);
    QFETCH(QStringList, expectedPending);
    QFETCH(QStringList, expectedSignals);

    DBCtrl ctrl;
    ctrl.m_pending = pending;
    EmissionLog emissions(ctrl);
    // The pages see the list already empty when they are told to commit or restore.
    int pendingSeenByPages = -1;
    auto look = [&] { pendingSeenByPages = int(ctrl.m_pending.size()); };
    QObject::connect(&ctrl, &DBCtrl::sig_apply, look);
    QObject::connect(&ctrl, &DBCtrl::sig_reset, look);

    if (phase == QLatin1String("apply"))
        ctrl.apply();
    else if (phase == QLatin1String("reset"))
        ctrl.reset();
    else if (phase == QLatin1String("before_apply"))
        ctrl.before_apply();
    else
        ctrl.update_again();

    QCOMPARE(ctrl.m_pending, expectedPending);
    QCOMPARE(emissions.log, expectedSignals);
    if (phase == QLatin1String("apply") || phase == QLatin1String("reset"))
        QCOMPARE(pendingSeenByPages, 0);
}

void TestDBCtrl::signalsAsDeclared()
{
    // Hosts connect by name: these signatures, in this order, and no slots.
    const QMetaObject &meta = DBCtrl::staticMetaObject;
    QStringList methods;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        methods << QString::fromLatin1(method.methodSignature())
                       + (method.methodType() == QMetaMethod::Signal ? QString() : QStringLiteral(" (not a signal)"));
    }
    QCOMPARE(methods, (QStringList{"sig_reset()", "sig_apply()", "sig_before_apply()",
                                   "sig_update_again()", "sig_empty(bool)"}));
}

QTEST_GUILESS_MAIN(TestDBCtrl)
#include "tst_dbctrl.moc"
