#include "dialogseam.h"
#include "dialogrecorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

Q_DECLARE_METATYPE(QMessageBox::Icon)
Q_DECLARE_METATYPE(Dialogs::Button)
Q_DECLARE_METATYPE(Dialogs::Buttons)

namespace {

enum class Kind { Information, Question, Warning, Critical };

Dialogs::Button askStandard(Kind kind, QWidget *parent, const QString &caption,
                            const QString &text, Dialogs::Buttons buttons,
                            Dialogs::Button defaultButton, Dialogs::Button escapeButton)
{
    switch (kind) {
    case Kind::Information:
        return Dialogs::information(parent, caption, text, buttons, defaultButton, escapeButton);
    case Kind::Question:
        return Dialogs::question(parent, caption, text, buttons, defaultButton, escapeButton);
    case Kind::Warning:
        return Dialogs::warning(parent, caption, text, buttons, defaultButton, escapeButton);
    case Kind::Critical:
        return Dialogs::critical(parent, caption, text, buttons, defaultButton, escapeButton);
    }
    return QMessageBox::NoButton;
}

int askWithTexts(Kind kind, QWidget *parent, const QString &caption, const QString &text,
                 const QStringList &texts, int defaultButton, int escapeButton)
{
    const QString b0 = texts.value(0), b1 = texts.value(1), b2 = texts.value(2);
    switch (kind) {
    case Kind::Information:
        return Dialogs::information(parent, caption, text, b0, b1, b2, defaultButton, escapeButton);
    case Kind::Question:
        return Dialogs::question(parent, caption, text, b0, b1, b2, defaultButton, escapeButton);
    case Kind::Warning:
        return Dialogs::warning(parent, caption, text, b0, b1, b2, defaultButton, escapeButton);
    case Kind::Critical:
        return Dialogs::critical(parent, caption, text, b0, b1, b2, defaultButton, escapeButton);
    }
    return -2;
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

Q_DECLARE_METATYPE(Kind)

class TestDialogSeam : public QObject
{
    Q_OBJECT

private slots:
    void recordedStandardBox_data();
    void recordedStandardBox();
    void recordedTextBox_data();
    void recordedTextBox();
    void unansweredBoxTakesDefault_data();
    void unansweredBoxTakesDefault();
    void recordersNestAndRestore();
    void recordedDialogs();
    void recordedFontDialog();

    void realStandardBoxShowsWhatCallerGives_data();
    void realStandardBoxShowsWhatCallerGives();
    void realStandardBoxEscape();
    void realTextBoxKeepsOrderAndEscape_data();
    void realTextBoxKeepsOrderAndEscape();
    void realExecReturnsDialogResult();
    void realFontDialog_data();
    void realFontDialog();
};

void TestDialogSeam::recordedStandardBox_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<Dialogs::Buttons>("buttons");
    QTest::addColumn<Dialogs::Button>("defaultButton");
    QTest::addColumn<Dialogs::Button>("escapeButton");
    QTest::addColumn<Dialogs::Button>("answer");
    QTest::addColumn<QMessageBox::Icon>("icon");

    QTest::newRow("information")
        << Kind::Information << Dialogs::Buttons(QMessageBox::Ok) << QMessageBox::NoButton
        << QMessageBox::NoButton << QMessageBox::Ok << QMessageBox::Information;
    QTest::newRow("question, No chosen")
        << Kind::Question << (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)
        << QMessageBox::Yes << QMessageBox::Cancel << QMessageBox::No << QMessageBox::Question;
    QTest::newRow("warning, Cancel chosen")
        << Kind::Warning << (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)
        << QMessageBox::Yes << QMessageBox::Cancel << QMessageBox::Cancel
        << QMessageBox::Warning;
    QTest::newRow("critical")
        << Kind::Critical << Dialogs::Buttons(QMessageBox::Ok) << QMessageBox::Ok
        << QMessageBox::NoButton << QMessageBox::Ok << QMessageBox::Critical;
}

void TestDialogSeam::recordedStandardBox()
{
    QFETCH(Kind, kind);
    QFETCH(Dialogs::Buttons, buttons);
    QFETCH(Dialogs::Button, defaultButton);
    QFETCH(Dialogs::Button, escapeButton);
    QFETCH(Dialogs::Button, answer);
    QFETCH(QMessageBox::Icon, icon);

    QWidget parent;
    DialogRecorder recorder;
    recorder.answer(answer);
    const QString text = QStringLiteral("You have modified some data in the current view.\n"
                                        "Save changes on %1?").arg(QStringLiteral("Users"));

    QCOMPARE(askStandard(kind, &parent, Caption, text, buttons, defaultButton, escapeButton),
             answer);

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
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("escapeButton");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("shownTexts");
    QTest::addColumn<QMessageBox::Icon>("icon");

    QTest::newRow("three buttons")
        << Kind::Warning << QStringList{"&Yes", "&No", "&Cancel"} << 0 << 2 << 1
        << QStringList{"&Yes", "&No", "&Cancel"} << QMessageBox::Warning;
    QTest::newRow("one button")
        << Kind::Information << QStringList{"&OK"} << 0 << -1 << 0 << QStringList{"&OK"}
        << QMessageBox::Information;
    QTest::newRow("empty texts dropped")
        << Kind::Question << QStringList{"&Retry", "", ""} << 0 << -1 << 0
        << QStringList{"&Retry"} << QMessageBox::Question;
    QTest::newRow("no text at all")
        << Kind::Critical << QStringList{"", "", ""} << 0 << -1 << 0 << QStringList{"OK"}
        << QMessageBox::Critical;
}

void TestDialogSeam::recordedTextBox()
{
    QFETCH(Kind, kind);
    QFETCH(QStringList, texts);
    QFETCH(int, defaultButton);
    QFETCH(int, escapeButton);
    QFETCH(int, answer);
    QFETCH(QStringList, shownTexts);
    QFETCH(QMessageBox::Icon, icon);

    DialogRecorder recorder;
    recorder.answer(answer);

    QCOMPARE(askWithTexts(kind, nullptr, Caption, QStringLiteral("Query failed: %1"), texts,
                          defaultButton, escapeButton),
             answer);

    QCOMPARE(recorder.messages.size(), 1);
    const DialogRecorder::Message &m = recorder.messages.first();
    QCOMPARE(m.icon, icon);
    QCOMPARE(m.parent.data(), nullptr);
    QCOMPARE(m.caption, Caption);
    QCOMPARE(m.text, QStringLiteral("Query failed: %1"));
    QCOMPARE(m.buttonTexts, shownTexts);
    QCOMPARE(m.defaultButton, defaultButton);
    QCOMPARE(m.escapeButton, escapeButton);
}

void TestDialogSeam::unansweredBoxTakesDefault_data()
{
    QTest::addColumn<Dialogs::Buttons>("buttons");
    QTest::addColumn<Dialogs::Button>("defaultButton");
    QTest::addColumn<Dialogs::Button>("escapeButton");
    QTest::addColumn<Dialogs::Button>("expected");

    QTest::newRow("default given")
        << (QMessageBox::Yes | QMessageBox::No) << QMessageBox::No << QMessageBox::Yes
        << QMessageBox::No;
    QTest::newRow("escape only")
        << (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) << QMessageBox::NoButton
        << QMessageBox::Cancel << QMessageBox::Cancel;
    QTest::newRow("neither: first button")
        << (QMessageBox::No | QMessageBox::Yes) << QMessageBox::NoButton
        << QMessageBox::NoButton << QMessageBox::Yes;
}

void TestDialogSeam::unansweredBoxTakesDefault()
{
    QFETCH(Dialogs::Buttons, buttons);
    QFETCH(Dialogs::Button, defaultButton);
    QFETCH(Dialogs::Button, escapeButton);
    QFETCH(Dialogs::Button, expected);

    DialogRecorder recorder;
    QCOMPARE(Dialogs::question(nullptr, Caption, QStringLiteral("?"), buttons, defaultButton,
                               escapeButton),
             expected);
    QCOMPARE(Dialogs::warning(nullptr, Caption, QStringLiteral("?"), QStringLiteral("a"),
                              QStringLiteral("b"), QString(), 1, 0),
             1);
}

void TestDialogSeam::recordersNestAndRestore()
{
    DialogRecorder outer;
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

void TestDialogSeam::recordedDialogs()
{
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("DlgCols"));
    dialog.setWindowTitle(QStringLiteral("Modify Columns"));
    auto *edit = new QLineEdit(&dialog);

    DialogRecorder recorder;
    recorder.answerDialog([edit](QDialog *d) {
        edit->setText(QStringLiteral("typed"));
        d->accept();
        return d->result();
    });

    QCOMPARE(Dialogs::exec(&dialog), int(QDialog::Accepted));
    QCOMPARE(edit->text(), QStringLiteral("typed"));
    QCOMPARE(Dialogs::exec(&dialog), int(QDialog::Rejected)); // nothing queued
    recorder.answerDialog(7);
    QCOMPARE(Dialogs::exec(&dialog), 7);

    QCOMPARE(recorder.dialogs.size(), 3);
    QCOMPARE(recorder.dialogs[0].className, QStringLiteral("QDialog"));
    QCOMPARE(recorder.dialogs[0].objectName, QStringLiteral("DlgCols"));
    QCOMPARE(recorder.dialogs[0].caption, QStringLiteral("Modify Columns"));
    QVERIFY(recorder.messages.isEmpty());
}

void TestDialogSeam::recordedFontDialog()
{
    DialogRecorder recorder;
    const QFont initial(QStringLiteral("DejaVu Sans"), 9);
    const QFont chosen(QStringLiteral("DejaVu Sans Mono"), 11);

    bool ok = true;
    QCOMPARE(Dialogs::getFont(&ok, initial, nullptr, QStringLiteral("Log font")), initial);
    QVERIFY(!ok);

    recorder.answerFont(chosen);
    QCOMPARE(Dialogs::getFont(&ok, initial), chosen);
    QVERIFY(ok);
    QCOMPARE(recorder.fontCaptions, (QStringList{"Log font", QString()}));
}

void TestDialogSeam::realStandardBoxShowsWhatCallerGives_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<Dialogs::Buttons>("buttons");
    QTest::addColumn<Dialogs::Button>("defaultButton");
    QTest::addColumn<Dialogs::Button>("click");
    QTest::addColumn<QMessageBox::Icon>("icon");

    QTest::newRow("warning, Yes/No/Cancel, No clicked")
        << Kind::Warning << (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)
        << QMessageBox::Yes << QMessageBox::No << QMessageBox::Warning;
    QTest::newRow("critical, Ok")
        << Kind::Critical << Dialogs::Buttons(QMessageBox::Ok) << QMessageBox::NoButton
        << QMessageBox::Ok << QMessageBox::Critical;
    QTest::newRow("question, Yes/No, Yes clicked")
        << Kind::Question << (QMessageBox::Yes | QMessageBox::No) << QMessageBox::No
        << QMessageBox::Yes << QMessageBox::Question;
    QTest::newRow("information, Ok")
        << Kind::Information << Dialogs::Buttons(QMessageBox::Ok) << QMessageBox::Ok
        << QMessageBox::Ok << QMessageBox::Information;
}

void TestDialogSeam::realStandardBoxShowsWhatCallerGives()
{
    QFETCH(Kind, kind);
    QFETCH(Dialogs::Buttons, buttons);
    QFETCH(Dialogs::Button, defaultButton);
    QFETCH(Dialogs::Button, click);
    QFETCH(QMessageBox::Icon, icon);

    QWidget parent;
    parent.show();
    const QString text = QStringLiteral("Connection failed!\nConsole was disconnected from %1.")
                             .arg(QStringLiteral("127.0.0.1"));
    QString seenCaption, seenText;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    Dialogs::Buttons seenButtons;
    QAbstractButton *seenDefault = nullptr;
    QWidget *seenParent = nullptr;
    Dialogs::Button seenDefaultKind = QMessageBox::NoButton;
    whenModalShows([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        seenCaption = box->windowTitle();
        seenText = box->text();
        seenIcon = box->icon();
        seenButtons = box->standardButtons();
        seenParent = box->parentWidget();
        seenDefault = box->defaultButton();
        seenDefaultKind = seenDefault ? box->standardButton(seenDefault) : QMessageBox::NoButton;
        QTest::mouseClick(box->button(click), Qt::LeftButton);
    });

    QCOMPARE(askStandard(kind, &parent, Caption, text, buttons, defaultButton,
                         QMessageBox::NoButton),
             click);
    QCOMPARE(seenCaption, Caption);
    QCOMPARE(seenText, text);
    QCOMPARE(seenIcon, icon);
    QCOMPARE(seenButtons, buttons);
    QCOMPARE(seenParent, &parent);
    if (defaultButton != QMessageBox::NoButton)
        QCOMPARE(seenDefaultKind, defaultButton);
}

void TestDialogSeam::realStandardBoxEscape()
{
    whenModalShows([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    QCOMPARE(Dialogs::warning(nullptr, Caption, QStringLiteral("Leave?"),
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                              QMessageBox::Yes, QMessageBox::No),
             QMessageBox::No);
}

void TestDialogSeam::realTextBoxKeepsOrderAndEscape_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("escapeButton");
    QTest::addColumn<bool>("pressEscape");
    QTest::addColumn<int>("expected");

    const QStringList three{"&Replace", "&Keep", "Cancel"};
    QTest::newRow("escape answers its button") << three << 1 << 2 << true << 2;
    QTest::newRow("escape answers the first") << three << 1 << 0 << true << 0;
    QTest::newRow("no escape button: Escape ignored, then a click")
        << three << 0 << -1 << true << 1;
    QTest::newRow("click") << QStringList{"&Yes", "&No"} << 1 << -1 << false << 1;
}

void TestDialogSeam::realTextBoxKeepsOrderAndEscape()
{
    QFETCH(QStringList, texts);
    QFETCH(int, defaultButton);
    QFETCH(int, escapeButton);
    QFETCH(bool, pressEscape);
    QFETCH(int, expected);

    QStringList seenOrder;
    QString seenDefault;
    whenModalShows([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        const QList<QAbstractButton *> buttons = buttonsLeftToRight(box);
        for (QAbstractButton *b : buttons)
            seenOrder << b->text();
        if (box->defaultButton())
            seenDefault = box->defaultButton()->text();
        if (pressEscape)
            QTest::keyClick(box, Qt::Key_Escape);
        if (box->isVisible())
            QTest::mouseClick(buttons.value(expected), Qt::LeftButton);
    });

    QCOMPARE(askWithTexts(Kind::Question, nullptr, Caption, QStringLiteral("Choose"), texts,
                          defaultButton, escapeButton),
             expected);
    QCOMPARE(seenOrder, texts);
    QCOMPARE(seenDefault, texts.at(defaultButton));
}

void TestDialogSeam::realExecReturnsDialogResult()
{
    QDialog dialog;
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.done(5); });
    QCOMPARE(Dialogs::exec(&dialog), 5);
}

void TestDialogSeam::realFontDialog_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("accepted") << true;
    QTest::newRow("cancelled") << false;
}

void TestDialogSeam::realFontDialog()
{
    QFETCH(bool, accept);

    QString seenTitle;
    whenModalShows([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFontDialog *>(modal);
        if (!dialog)
            return;
        seenTitle = dialog->windowTitle();
        accept ? dialog->accept() : dialog->reject();
    });

    bool ok = !accept;
    const QFont initial(QStringLiteral("DejaVu Sans"), 10);
    const QFont font = Dialogs::getFont(&ok, initial, nullptr, QStringLiteral("Log font"));
    QCOMPARE(ok, accept);
    QCOMPARE(seenTitle, QStringLiteral("Log font"));
    if (!accept)
        QCOMPARE(font, initial);
}

QTEST_MAIN(TestDialogSeam)
#include "tst_dialogseam.moc"
