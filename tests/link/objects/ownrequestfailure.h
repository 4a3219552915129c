#pragma once

// A window's own request failing the two ways a server can fail it, and what the
// administrator must be told of each: a refused statement is "Operation failed." under
// "Error" in a box of no parent, and the connection stays; a connection lost under it is
// the console's report alone, over the window that owns the connection (the box once, the
// caption mark, the pending list dropped).

#include "dbconn.h"
#include "dbctrl.h"
#include "dialogrecorder.h"
#include "testserver.h"

#include <QTest>
#include <QWidget>

namespace OwnRequestFailure {

enum Kind { Refused, ConnectionLost };

// The rows of a _data function, in the int column "failure".
inline void addRows()
{
    QTest::addColumn<int>("failure");
    QTest::newRow("refused") << int(Refused);
    QTest::newRow("connection lost") << int(ConnectionLost);
}

// The next statement matching pattern fails as failure says.
inline bool arrange(StandIn::TestServer& server, const QString& pattern, int failure)
{
    return failure == Refused ? server.refuse(pattern, 111, 1) : server.dropAt(pattern, 1);
}

// What a main window is to a connection: the owner a lost connection is told over, and
// the controller whose pending list it drops, which holds one statement to begin with.
struct MainWindow
{
    MainWindow()
    {
        owner.setWindowTitle(QStringLiteral("Console"));
        ctrl.set(QStringList{QStringLiteral("update held set a='1'")}, false);
    }
    void attach(DBConn* conn)
    {
        conn->m_owner = &owner;
        conn->m_ctrl = &ctrl;
    }

    QWidget owner;
    DBCtrl ctrl;
};

// Whether recorder saw exactly what failure must tell, and window shows its mark.
inline bool told(const DialogRecorder& recorder, const MainWindow& window, int failure)
{
    [&] {
        QCOMPARE(recorder.messages.size(), 1);
        const DialogRecorder::Message& box = recorder.messages.first();
        if (failure == Refused) {
            QCOMPARE(box.icon, QMessageBox::Warning);
            QCOMPARE(box.caption, QStringLiteral("Error"));
            QCOMPARE(box.text, QStringLiteral("Operation failed."));
            QVERIFY(box.parent.isNull());
            QCOMPARE(window.owner.windowTitle(), QStringLiteral("Console"));
            QCOMPARE(window.ctrl.m_pending.size(), 1);
        } else {
            QCOMPARE(box.icon, QMessageBox::Critical);
            QCOMPARE(box.caption, QStringLiteral("Ornel Corvane Administration"));
            QCOMPARE(box.text, QStringLiteral("Connection failed!\nConsole was disconnected from 127.0.0.1."));
            QCOMPARE(box.parent.data(), &window.owner);
            QCOMPARE(window.owner.windowTitle(), QStringLiteral("Console - NOT CONNECTED!"));
            QVERIFY(window.ctrl.m_pending.isEmpty());
        }
    }();
    return !QTest::currentTestFailed();
}

} // namespace OwnRequestFailure
