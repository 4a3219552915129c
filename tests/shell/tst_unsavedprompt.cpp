// The question asked before pending changes would be left behind.

#include "dialogrecorder.h"
#include "unsavedprompt.h"

#include <QWidget>
#include <QtTest>

Q_DECLARE_METATYPE(UnsavedChangesAnswer)

class tst_UnsavedPrompt : public QObject
{
    Q_OBJECT

private slots:
    void box_data();
    void box();
    void answers_data();
    void answers();
};

void tst_UnsavedPrompt::box_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("text");

    QTest::newRow("address") << "10.0.0.7"
                             << "You have modified some data in the current view.\n"
                                "Save changes on 10.0.0.7?";
    QTest::newRow("name with a percent sign")
        << "mail%1.example" << "You have modified some data in the current view.\n"
                               "Save changes on mail%1.example?";
}

void tst_UnsavedPrompt::box()
{
    QFETCH(QString, host);
    QFETCH(QString, text);

    QWidget window;
    DialogRecorder dialogs;
    askToSaveChanges(&window, host);

    QCOMPARE(dialogs.messages.size(), 1);
    const DialogRecorder::Message& box = dialogs.messages.first();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.parent.data(), &window);
    QCOMPARE(box.caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(box.text, text);
    QCOMPARE(box.buttonTexts, QStringList({"&Yes", "&No", "&Cancel"}));
    QCOMPARE(box.defaultButton, 0);
    QCOMPARE(box.escapeButton, 2);
}

void tst_UnsavedPrompt::answers_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<UnsavedChangesAnswer>("answer");

    QTest::newRow("Yes") << 0 << UnsavedChangesAnswer::Save;
    QTest::newRow("No") << 1 << UnsavedChangesAnswer::Discard;
    QTest::newRow("Cancel") << 2 << UnsavedChangesAnswer::Keep;
    QTest::newRow("closed without a button") << -1 << UnsavedChangesAnswer::Keep;
}

void tst_UnsavedPrompt::answers()
{
    QFETCH(int, button);
    QFETCH(UnsavedChangesAnswer, answer);

    DialogRecorder dialogs;
    dialogs.answer(button);
    QCOMPARE(askToSaveChanges(nullptr, QStringLiteral("host")), answer);
}

QTEST_MAIN(tst_UnsavedPrompt)
#include "tst_unsavedprompt.moc"
