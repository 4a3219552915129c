// The message dialog with the caller's buttons, and its button class.

#include "btnmsg.h"
#include "dialogrecorder.h"
#include "dlgmessage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

namespace {

QList<BtnMsg*> buttonsOf(const QDialog& dialog)
{
    return dialog.findChildren<BtnMsg*>();
}

BtnMsg* buttonLabelled(const QDialog& dialog, const QString& text)
{
    for (BtnMsg* button : buttonsOf(dialog)) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

// The message label is the layout's first widget.
QLabel* messageLabel(const QDialog& dialog)
{
    auto* layout = qobject_cast<QVBoxLayout*>(dialog.layout());
    return layout ? qobject_cast<QLabel*>(layout->itemAt(0)->widget()) : nullptr;
}

void addYesNo(DlgMessage& dialog)
{
    dialog.setText("Delete %d messages?", 3);
    dialog.addButton("Yes", 1, true);
    dialog.addButton("No", 2);
}

} // namespace

class tst_DlgMessage : public QObject
{
    Q_OBJECT

private slots:
    void buttonNamesItself_data();
    void buttonNamesItself();

    void execReturnsTheButtonsId_data();
    void execReturnsTheButtonsId();
    void execWithoutTheSeamShowsTheDialog();

    void buttonsStandRightInOrder();
    void buttonsGoWithTheDialog();

    void setText_data();
    void setText();
};

void tst_DlgMessage::buttonNamesItself_data()
{
    QTest::addColumn<int>("id");
    QTest::newRow("1") << 1;
    QTest::newRow("0") << 0;
    QTest::newRow("negative") << -42;
}

void tst_DlgMessage::buttonNamesItself()
{
    QFETCH(int, id);
    QWidget parent;
    BtnMsg button(&parent, id);
    QCOMPARE(button.parentWidget(), &parent);
    QSignalSpy clicked(&button, &BtnMsg::signalClicked);
    button.click();
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.first().first().toInt(), id);
}

void tst_DlgMessage::execReturnsTheButtonsId_data()
{
    QTest::addColumn<QString>("pressed");  // empty: closed by the window manager
    QTest::addColumn<int>("result");

    QTest::newRow("Yes") << "Yes" << 1;
    QTest::newRow("No") << "No" << 2;
    QTest::newRow("closed") << QString() << 0;
}

void tst_DlgMessage::execReturnsTheButtonsId()
{
    QFETCH(QString, pressed);
    QFETCH(int, result);

    DlgMessage dialog;
    addYesNo(dialog);
    DialogRecorder recorder;
    bool found = false;
    recorder.answerDialog([&](QDialog* shown) {
        if (pressed.isEmpty()) {
            shown->show();
            found = shown->close();
        } else if (BtnMsg* button = buttonLabelled(dialog, pressed)) {
            found = true;
            button->click();
        }
        return shown->result();
    });
    QCOMPARE(dialog.exec(), result);
    QVERIFY(found);
    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(recorder.dialogs.first().className, QStringLiteral("DlgMessage"));
    QVERIFY(dialog.isModal());
}

void tst_DlgMessage::execWithoutTheSeamShowsTheDialog()
{
    DlgMessage dialog;
    addYesNo(dialog);
    bool wasVisible = false;
    QTimer::singleShot(0, &dialog, [&] {
        wasVisible = dialog.isVisible();
        buttonLabelled(dialog, QStringLiteral("No"))->click();
    });
    QCOMPARE(dialog.exec(), 2);
    QVERIFY(wasVisible);
    QVERIFY(!dialog.isVisible());
}

void tst_DlgMessage::buttonsStandRightInOrder()
{
    DlgMessage dialog;
    dialog.addButton("First", 7);
    dialog.addButton("Second", 8, true);
    dialog.addButton("Third", 9, false);

    auto* layout = qobject_cast<QVBoxLayout*>(dialog.layout());
    QVERIFY(layout);
    QCOMPARE(layout->contentsMargins(), QMargins(12, 12, 12, 12));
    QCOMPARE(layout->count(), 3);
    QVERIFY(qobject_cast<QLabel*>(layout->itemAt(1)->widget()));
    QVERIFY(qobject_cast<QLabel*>(layout->itemAt(1)->widget())->text().isEmpty());
    auto* row = qobject_cast<QHBoxLayout*>(layout->itemAt(2)->layout());
    QVERIFY(row);
    QCOMPARE(row->spacing(), 6);
    QCOMPARE(row->count(), 4);
    QVERIFY(row->itemAt(0)->spacerItem());
    QVERIFY(row->itemAt(0)->expandingDirections() & Qt::Horizontal);

    const QStringList texts{"First", "Second", "Third"};
    const QList<int> ids{7, 8, 9};
    for (int i = 0; i < texts.size(); ++i) {
        auto* button = qobject_cast<BtnMsg*>(row->itemAt(i + 1)->widget());
        QVERIFY(button);
        QCOMPARE(button->text(), texts[i]);
        QCOMPARE(button->m_id, ids[i]);
        QCOMPARE(button->isDefault(), i == 1);
        QCOMPARE(button->parentWidget(), &dialog);
    }
}

void tst_DlgMessage::buttonsGoWithTheDialog()
{
    auto* dialog = new DlgMessage;
    dialog->addButton("OK", 1, true);
    QPointer<BtnMsg> button = buttonsOf(*dialog).value(0);
    QVERIFY(button);
    delete dialog;
    QVERIFY(button.isNull());
}

void tst_DlgMessage::setText_data()
{
    QTest::addColumn<QByteArray>("argument");
    QTest::addColumn<QString>("shown");

    QTest::newRow("plain") << QByteArray("Server stopped.") << "Server stopped.";
    QTest::newRow("percent signs stay") << QByteArray("100% of %s") << "100% of %s";
    QTest::newRow("Latin-1") << QByteArray("Stra\xdf" "e") << QString::fromUtf8("Stra\xc3\x9f" "e");
    QTest::newRow("2047 characters") << QByteArray(2047, 'x') << QString(2047, u'x');
    QTest::newRow("longer output is cut") << QByteArray(5000, 'y') << QString(2047, u'y');
}

void tst_DlgMessage::setText()
{
    QFETCH(QByteArray, argument);
    QFETCH(QString, shown);

    DlgMessage dialog;
    dialog.setText("%s", argument.constData());
    QLabel* label = messageLabel(dialog);
    QVERIFY(label);
    QCOMPARE(label->text(), shown);

    dialog.setText("%d of %d: %s", 2, 5, "done");
    QCOMPARE(label->text(), QStringLiteral("2 of 5: done"));
}

QTEST_MAIN(tst_DlgMessage)
#include "tst_dlgmessage.moc"
