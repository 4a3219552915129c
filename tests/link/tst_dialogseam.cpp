#include "dialogseam.h"
#include "dialogrecorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFontDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

Q_DECLARE_METATYPE(QMessageBox::Icon)
Q_DECLARE_METATYPE(Dialogs::Button)
Q_DECLARE_METATYPE(Dialogs::Buttons)

namespace {

using StandardAsk = Dialogs::Button (*)(QWidget *, const QString &, const QString &, Dialogs::Buttons,
                                        Dialogs::Button, Dialogs::Button);
using TextAsk = int (*)(QWidget *, const QString &, const QString &, const QString &, const QString &,
                        const QString &, int, int);

// Indexed by the icon each function must give its box.
StandardAsk standardAsk(QMessageBox::Icon icon)
{
    const StandardAsk asks[] = {nullptr, Dialogs::information, Dialogs::warning, Dialogs::critical,
                                Dialogs::question};
    return asks[icon];
}

TextAsk textAsk(QMessageBox::Icon icon)
{
    const TextAsk asks[] = {nullptr, Dialogs::information, Dialogs::warning, Dialogs::critical,
                            Dialogs::question};
    return asks[icon];
}

// Runs act on the first modal window to appear; gives up after a few seconds so that a
// failing test cannot hang on an open box.
void whenModalShows(std::function<void(QWidget *)> act)
{
    auto *poll = new QTimer(qApp);
    auto *giveUp = new QElapsedTimer;
    giveUp->start();
    QObject::connect(poll, &QTimer::timeout, [poll, giveUp, act] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && giveUp->elapsed() < 5000)
            return;
        poll->stop();
        poll->deleteLater();
        delete giveUp;
        if (modal)
            act(modal);
    });
    poll->start(10);
}

QList<QAbstractButton *> buttonsLeftToRight(QMessageBox *box)
{
    QList<QAbstractButton *> buttons = box->buttons();
    std::sort(buttons.begin(), buttons.end(), [box](QAbstractButton *a, QAbstractButton *b) {
        return a->mapTo(box, QPoint()).x() < b->mapTo(box, QPoint()).x();
    });
    return buttons;
}

const QString Caption = QStringLiteral("Ornel Corvane Administration");

} // namespace

class TestDialogSeam : public QObject
{
    Q_OBJECT

private slots:
    void recordedStandardBox_data();
    void recordedStandardBox();
    void recordedTextBox_data();
    void recordedTextBox();
    void recorderDefaultsAndNesting();
    void recordedDialogsAndFonts();

    void realStandardBox_data();
    void realStandardBox();
    void realTextBoxKeepsOrderAndEscape_data();
    void realTextBoxKeepsOrderAndEscape();
    void realExecAndFontDialog();
};

void TestDialogSeam::recordedStandardBox_data()
{
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<Dialogs::Buttons>("buttons");
    QTest::addColumn<Dialogs::Button>("defaultButton");
    QTest::addColumn<Dialogs::Button>("escapeButton");
    QTest::addColumn<Dialogs::Button>("answer");

    const Dialogs::Buttons yesNoCancel = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QTest::newRow("information") << QMessageBox::Information << Dialogs::Buttons(QMessageBox::Ok)
                                 << QMessageBox::NoButton << QMessageBox::NoButton << QMessageBox::Ok;
    QTest::newRow("question, No chosen") << QMessageBox::Question << yesNoCancel << QMessageBox::Yes
                                         << QMessageBox::Cancel << QMessageBox::No;
    QTest::newRow("warning, Cancel chosen") << QMessageBox::Warning << yesNoCancel << QMessageBox::Yes
                                            << QMessageBox::Cancel << QMessageBox::Cancel;
    QTest::newRow("critical") << QMessageBox::Critical << Dialogs::Buttons(QMessageBox::Ok)
                              << QMessageBox::Ok << QMessageBox::NoButton << QMessageBox::Ok;
}

void TestDialogSeam::recordedStandardBox()
{
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(Dialogs::Buttons, buttons);
    QFETCH(Dialogs::Button, defaultButton);
    QFETCH(Dialogs::Button, escapeButton);
    QFETCH(Dialogs::Button, answer);

    QWidget parent;
    DialogRecorder recorder;
    recorder.answer(answer);
    const QString text = QStringLiteral("Save changes on %1?\n100%").arg(QStringLiteral("Users"));

    QCOMPARE(standardAsk(icon)(&parent, Caption, text, buttons, defaultButton, escapeButton), answer);

    QCOMPARE(recorder.messages.size(), 1);
    const DialogRecorder::Message &m = recorder.messages.first();
    QCOMPARE(m.icon, icon);
    QCOMPARE(m.parent.data(), &parent);
    QCOMPARE(m.caption, Caption);
    QCOMPARE(m.text, text);
    QCOMPARE(m.buttons, buttons);
    QVERIFY(m.buttonTexts.isEmpty());
    QCOMPARE(m.defaultButton, int(defaultButton));
    QCOMPARE(m.escapeButton, int(escapeButton));
}

void TestDialogSeam::recordedTextBox_data()
{
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("escapeButton");
    QTest::addColumn<QStringList>("shownTexts");

    QTest::newRow("three buttons") << QMessageBox::Warning << QStringList{"&Yes", "&No", "&Cancel"} << 2
                                   << QStringList{"&Yes", "&No", "&Cancel"};
    QTest::newRow("one button") << QMessageBox::Information << QStringList{"&OK", "", ""} << -1
                                << QStringList{"&OK"};
    QTest::newRow("empty texts dropped") << QMessageBox::Question << QStringList{"", "&Retry", ""} << -1
                                         << QStringList{"&Retry"};
    QTest::newRow("no text at all") << QMessageBox::Critical << QStringList{"", "", ""} << -1
                                    << QStringList{"OK"};
}

void TestDialogSeam::recordedTextBox()
{
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QStringList, texts);
    QFETCH(int, escapeButton);
    QFETCH(QStringList, shownTexts);

    DialogRecorder recorder;
    recorder.answer(0);

    QCOMPARE(textAsk(icon)(nullptr, Caption, QStringLiteral("Query failed: %1"), texts.at(0), texts.at(1),
                           texts.at(2), 0, escapeButton),
             0);

    QCOMPARE(recorder.messages.size(), 1);
    const DialogRecorder::Message &m = recorder.messages.first();
    QCOMPARE(m.icon, icon);
    QCOMPARE(m.parent.data(), nullptr);
    QCOMPARE(m.caption, Caption);
    QCOMPARE(m.text, QStringLiteral("Query failed: %1"));
    QCOMPARE(m.buttonTexts, shownTexts);
    QCOMPARE(m.defaultButton, 0);
    QCOMPARE(m.escapeButton, escapeButton);
}

void TestDialogSeam::recorderDefaultsAndNesting()
{
    DialogRecorder outer;
    // Unanswered, a box takes its default button, else its escape button, else its first.
    QCOMPARE(Dialogs::question(nullptr, Caption, QStringLiteral("?"), QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No, QMessageBox::Yes),
             QMessageBox::No);
    QCOMPARE(Dialogs::question(nullptr, Caption, QStringLiteral("?"),
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::NoButton,
                               QMessageBox::Cancel),
             QMessageBox::Cancel);
    QCOMPARE(Dialogs::question(nullptr, Caption, QStringLiteral("?"), QMessageBox::No | QMessageBox::Yes),
             QMessageBox::Yes);
    QCOMPARE(Dialogs::warning(nullptr, Caption, QStringLiteral("?"), QStringLiteral("a"), QStringLiteral("b"),
                              QString(), 1, 0),
             1);

    outer.messages.clear();
    outer.answer(QMessageBox::No);
    {
        DialogRecorder inner;
        inner.answer(QMessageBox::Yes);
        QCOMPARE(Dialogs::question(nullptr, Caption, QStringLiteral("inner")), QMessageBox::Yes);
        QCOMPARE(inner.messageTexts(), QStringList{"inner"});
    }
    QCOMPARE(Dialogs::question(nullptr, Caption, QStringLiteral("outer")), QMessageBox::No);
    QCOMPARE(outer.messageTexts(), QStringList{"outer"});
}

void TestDialogSeam::recordedDialogsAndFonts()
{
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("DlgCols"));
    dialog.setWindowTitle(QStringLiteral("Modify Columns"));

    DialogRecorder recorder;
    recorder.answerDialog([](QDialog *d) {
        d->accept();
        return d->result();
    });
    QCOMPARE(Dialogs::exec(&dialog), int(QDialog::Accepted));
    QCOMPARE(Dialogs::exec(&dialog), int(QDialog::Rejected)); // nothing queued
    recorder.answerDialog(7);
    QCOMPARE(Dialogs::exec(&dialog), 7);
    QCOMPARE(recorder.dialogs.size(), 3);
    QCOMPARE(recorder.dialogs[0].className, QStringLiteral("QDialog"));
    QCOMPARE(recorder.dialogs[0].objectName, QStringLiteral("DlgCols"));
    QCOMPARE(recorder.dialogs[0].caption, QStringLiteral("Modify Columns"));

    const QFont initial(QStringLiteral("DejaVu Sans"), 9);
    const QFont chosen(QStringLiteral("DejaVu Sans Mono"), 11);
    bool ok = true;
    QCOMPARE(Dialogs::getFont(&ok, initial, nullptr, QStringLiteral("Log font")), initial);
    QVERIFY(!ok);
    recorder.answerFont(chosen);
    QCOMPARE(Dialogs::getFont(&ok, initial), chosen);
    QVERIFY(ok);
    QCOMPARE(recorder.fontCaptions, (QStringList{"Log font", QString()}));
    QVERIFY(recorder.messages.isEmpty());
}

void TestDialogSeam::realStandardBox_data()
{
    QTest::addColumn<Dialogs::Buttons>("buttons");
    QTest::addColumn<Dialogs::Button>("defaultButton");
    QTest::addColumn<Dialogs::Button>("escapeButton");
    QTest::addColumn<bool>("pressEscape");
    QTest::addColumn<Dialogs::Button>("answer");

    const Dialogs::Buttons yesNoCancel = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QTest::newRow("No clicked") << yesNoCancel << QMessageBox::Yes << QMessageBox::NoButton << false
                                << QMessageBox::No;
    QTest::newRow("Escape answers the escape button") << yesNoCancel << QMessageBox::Yes << QMessageBox::No
                                                      << true << QMessageBox::No;
    QTest::newRow("Ok, no default given") << Dialogs::Buttons(QMessageBox::Ok) << QMessageBox::NoButton
                                          << QMessageBox::NoButton << false << QMessageBox::Ok;
}

void TestDialogSeam::realStandardBox()
{
    QFETCH(Dialogs::Buttons, buttons);
    QFETCH(Dialogs::Button, defaultButton);
    QFETCH(Dialogs::Button, escapeButton);
    QFETCH(bool, pressEscape);
    QFETCH(Dialogs::Button, answer);

    QWidget parent;
    parent.show();
    const QString text = QStringLiteral("Connection failed!\nConsole was disconnected from 127.0.0.1.");
    QMessageBox *seen = nullptr;
    QString seenCaption, seenText;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    Dialogs::Buttons seenButtons;
    Dialogs::Button seenDefault = QMessageBox::NoButton;
    QWidget *seenParent = nullptr;
    whenModalShows([&](QWidget *modal) {
        seen = qobject_cast<QMessageBox *>(modal);
        if (!seen)
            return;
        seenCaption = seen->windowTitle();
        seenText = seen->text();
        seenIcon = seen->icon();
        seenButtons = seen->standardButtons();
        seenDefault = seen->defaultButton() ? seen->standardButton(seen->defaultButton()) : QMessageBox::NoButton;
        seenParent = seen->parentWidget();
        if (pressEscape)
            QTest::keyClick(seen, Qt::Key_Escape);
        else
            QTest::mouseClick(seen->button(answer), Qt::LeftButton);
    });

    QCOMPARE(Dialogs::warning(&parent, Caption, text, buttons, defaultButton, escapeButton), answer);
    QVERIFY(seen);
    QCOMPARE(seenParent, &parent);
    QCOMPARE(seenCaption, Caption);
    QCOMPARE(seenText, text);
    QCOMPARE(seenIcon, QMessageBox::Warning);
    QCOMPARE(seenButtons, buttons);
    if (defaultButton != QMessageBox::NoButton)
        QCOMPARE(seenDefault, defaultButton);
}

void TestDialogSeam::realTextBoxKeepsOrderAndEscape_data()
{
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("escapeButton");
    QTest::addColumn<int>("expected");

    // Escape is pressed; a box that Escape does not close gets a click on the expected button.
    QTest::newRow("escape answers its button") << 1 << 2 << 2;
    QTest::newRow("escape answers the first") << 1 << 0 << 0;
    QTest::newRow("no escape button: Escape ignored") << 0 << -1 << 1;
}

void TestDialogSeam::realTextBoxKeepsOrderAndEscape()
{
    QFETCH(int, defaultButton);
    QFETCH(int, escapeButton);
    QFETCH(int, expected);

    const QStringList texts{"&Replace", "&Keep", "Cancel"};
    QStringList seenOrder;
    QString seenDefault;
    bool closedByEscape = false;
    whenModalShows([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        const QList<QAbstractButton *> buttons = buttonsLeftToRight(box);
        for (QAbstractButton *b : buttons)
            seenOrder << b->text();
        if (box->defaultButton())
            seenDefault = box->defaultButton()->text();
        QTest::keyClick(box, Qt::Key_Escape);
        closedByEscape = !box->isVisible();
        if (!closedByEscape)
            QTest::mouseClick(buttons.value(expected), Qt::LeftButton);
    });

    QCOMPARE(Dialogs::question(nullptr, Caption, QStringLiteral("Choose"), texts.at(0), texts.at(1), texts.at(2),
                               defaultButton, escapeButton),
             expected);
    QCOMPARE(closedByEscape, escapeButton >= 0);
    QCOMPARE(seenOrder, texts);
    QCOMPARE(seenDefault, texts.at(defaultButton));
}

void TestDialogSeam::realExecAndFontDialog()
{
    QDialog dialog;
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.done(5); });
    QCOMPARE(Dialogs::exec(&dialog), 5);

    QString seenTitle;
    whenModalShows([&](QWidget *modal) {
        if (auto *fonts = qobject_cast<QFontDialog *>(modal)) {
            seenTitle = fonts->windowTitle();
            fonts->reject();
        }
    });
    bool ok = true;
    const QFont initial(QStringLiteral("DejaVu Sans"), 10);
    QCOMPARE(Dialogs::getFont(&ok, initial, nullptr, QStringLiteral("Log font")), initial);
    QVERIFY(!ok);
    QCOMPARE(seenTitle, QStringLiteral("Log font"));
}

QTEST_MAIN(TestDialogSeam)
#include "tst_dialogseam.moc"
