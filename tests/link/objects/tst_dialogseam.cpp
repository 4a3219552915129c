#include "dialogseam.h"
#include "dialogrecorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

Q_DECLARE_METATYPE(QMessageBox::Icon)
Q_DECLARE_METATYPE(Dialogs::Button)
Q_DECLARE_METATYPE(Dialogs::Buttons)

namespace {

using StandardAsk = Dialogs::Button (*)(QWidget *, const QString &, const QString &, Dialogs::Buttons,
                                        Dialogs::Button, Dialogs::Button);
using TextAsk = int (*)(QWidget *, const QString &, const QString &, const QString &, const QString &,
                        const QString &, int, int);

// Each function, indexed by the icon it must give its box.
const StandardAsk standardAsks[] = {nullptr, Dialogs::information, Dialogs::warning, Dialogs::critical,
                                    Dialogs::question};
const TextAsk textAsks[] = {nullptr, Dialogs::information, Dialogs::warning, Dialogs::critical, Dialogs::question};

// Records the next message box (caption, text, icon, parent, default button, buttons from left
// to right) and closes it with Escape; gives up after a few seconds so that a failing test
// cannot hang on an open box.
void escapeNextBox(QStringList *seen)
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, seen, deadline = QDeadlineTimer(5000)] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box && !deadline.hasExpired())
            return;
        poll->deleteLater();
        if (!box)
            return;
        QList<QAbstractButton *> buttons = box->buttons();
        std::sort(buttons.begin(), buttons.end(), [box](QAbstractButton *a, QAbstractButton *b) {
            return a->mapTo(box, QPoint()).x() < b->mapTo(box, QPoint()).x();
        });
        *seen << box->windowTitle() << box->text() << QString::number(box->icon())
              << (box->parentWidget() ? "parent" : "no parent") << box->defaultButton()->text();
        for (QAbstractButton *button : buttons)
            *seen << button->text();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    poll->start(10);
}

const QString Caption = QStringLiteral("Ornel Corvane Administration");

enum class Field { ChoiceBox, EditableBox, Label, TwoBoxesInARow, List, ListInAGroupBox };

QComboBox *choiceBox(QWidget *parent, const QString &entry, bool editable)
{
    auto *box = new QComboBox(parent);
    box->setEditable(editable);
    box->addItems({QStringLiteral("Default"), entry});
    box->setCurrentIndex(1);
    return box;
}

// An edit dialog as the forms build them: a caption and a field a row, OK and Cancel below.
QDialog *editDialog(Field kind, const QString &text)
{
    auto *dialog = new QDialog;
    auto *grid = new QGridLayout(dialog);
    grid->addWidget(new QLabel(QStringLiteral("Name:"), dialog), 0, 0);
    grid->addWidget(new QComboBox(dialog), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Value:"), dialog), 1, 0);
    switch (kind) {
    case Field::ChoiceBox:
    case Field::EditableBox:
        grid->addWidget(choiceBox(dialog, text, kind == Field::EditableBox), 1, 1);
        break;
    case Field::Label:
        grid->addWidget(new QLabel(text, dialog), 1, 1);
        break;
    case Field::List:
    case Field::ListInAGroupBox: {
        auto *list = new QTreeWidget(dialog);
        list->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Description")});
        new QTreeWidgetItem(list, {QStringLiteral("sales"), text});
        if (kind == Field::List) {
            grid->addWidget(list, 1, 1);
            break;
        }
        auto *group = new QGroupBox(QStringLiteral("Select:"), dialog);
        (new QVBoxLayout(group))->addWidget(list);
        grid->addWidget(group, 1, 1);
        break;
    }
    case Field::TwoBoxesInARow: {
        auto *row = new QHBoxLayout;
        row->addWidget(choiceBox(dialog, text, false));
        row->addWidget(choiceBox(dialog, text, false));
        grid->addLayout(row, 1, 1);
        break;
    }
    }
    auto *ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setObjectName(QStringLiteral("m_btnOK"));
    grid->addWidget(ok, 2, 0);
    grid->addWidget(new QPushButton(QStringLiteral("Cancel"), dialog), 2, 1);
    return dialog;
}

} // namespace

Q_DECLARE_METATYPE(Field)

class TestDialogSeam : public QObject
{
    Q_OBJECT

private slots:
    // Recorded, a box is the request the module made: each function gives its own icon.
    void recordedBox_data()
    {
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<QStringList>("texts");  // the text form's three, none for standard buttons
        QTest::addColumn<QStringList>("shownTexts");
        QTest::newRow("information") << QMessageBox::Information << QStringList() << QStringList();
        QTest::newRow("question") << QMessageBox::Question << QStringList() << QStringList();
        QTest::newRow("warning") << QMessageBox::Warning << QStringList() << QStringList();
        QTest::newRow("critical") << QMessageBox::Critical << QStringList() << QStringList();
        QTest::newRow("three texts") << QMessageBox::Warning << QStringList{"&Yes", "&No", "&Cancel"}
                                     << QStringList{"&Yes", "&No", "&Cancel"};
        QTest::newRow("empty texts dropped") << QMessageBox::Question << QStringList{"", "&Retry", ""}
                                             << QStringList{"&Retry"};
        QTest::newRow("no text at all") << QMessageBox::Critical << QStringList{"", "", ""} << QStringList{"OK"};
        QTest::newRow("one text") << QMessageBox::Information << QStringList{"&OK", "", ""} << QStringList{"&OK"};
    }

    void recordedBox()
    {
        QFETCH(QMessageBox::Icon, icon);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, shownTexts);
        QWidget parent;
        DialogRecorder recorder;
        const bool standard = texts.isEmpty();
        recorder.answer(standard ? int(QMessageBox::No) : 1);
        const QString text = QStringLiteral("Save changes on %1?\n100%").arg(QStringLiteral("Users"));
        const Dialogs::Buttons buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        const int answer = standard
            ? int(standardAsks[icon](&parent, Caption, text, buttons, QMessageBox::Yes, QMessageBox::Cancel))
            : textAsks[icon](&parent, Caption, text, texts[0], texts[1], texts[2], 0, 2);
        QCOMPARE(answer, standard ? int(QMessageBox::No) : 1);
        QCOMPARE(recorder.messages.size(), 1);
        const DialogRecorder::Message &m = recorder.messages.first();
        QCOMPARE(m.icon, icon);
        QCOMPARE(m.parent.data(), &parent);
        QCOMPARE(m.caption + '|' + m.text, Caption + '|' + text);
        QCOMPARE(m.buttons, standard ? buttons : Dialogs::Buttons());
        QCOMPARE(m.buttonTexts, shownTexts);
        QCOMPARE(QList<int>({m.defaultButton, m.escapeButton}),
                 standard ? QList<int>({QMessageBox::Yes, QMessageBox::Cancel}) : QList<int>({0, 2}));
    }

    // Each hook setter hands back the hook it replaced, so recorders nest.
    void recordersNest()
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

    void recordedDialogsAndFonts()
    {
        QDialog dialog;
        dialog.setObjectName(QStringLiteral("DlgCols"));
        dialog.setWindowTitle(QStringLiteral("Modify Columns"));
        DialogRecorder recorder;
        recorder.answerDialog([](QDialog *d) { d->accept(); return d->result(); });
        QCOMPARE(Dialogs::exec(&dialog), int(QDialog::Accepted));
        QCOMPARE(Dialogs::exec(&dialog), int(QDialog::Rejected));  // nothing queued
        QCOMPARE(recorder.dialogs.size(), 2);
        QCOMPARE(recorder.dialogs[0].className + '|' + recorder.dialogs[0].objectName + '|' + recorder.dialogs[0].caption,
                 QStringLiteral("QDialog|DlgCols|Modify Columns"));
        const QFont initial(QStringLiteral("DejaVu Sans"), 9), chosen(QStringLiteral("DejaVu Sans Mono"), 11);
        bool ok = false;
        recorder.answerFont(chosen);
        QCOMPARE(Dialogs::getFont(&ok, initial, nullptr, QStringLiteral("Log font")), chosen);
        QVERIFY(ok);
        QCOMPARE(Dialogs::getFont(&ok, initial), initial);  // nothing queued: cancelled
        QVERIFY(!ok);
        QCOMPARE(recorder.fontCaptions, (QStringList{"Log font", QString()}));
    }

    void longTextsStayInsideTheScreen_data()
    {
        QTest::addColumn<Field>("kind");
        QTest::addColumn<int>("length");
        const int megabyte = 1 << 20;
        QTest::newRow("a choice box") << Field::ChoiceBox << megabyte;
        QTest::newRow("an editable box") << Field::EditableBox << megabyte;
        QTest::newRow("a label") << Field::Label << megabyte;
        QTest::newRow("two boxes in a row") << Field::TwoBoxesInARow << megabyte;
        QTest::newRow("a list") << Field::List << megabyte;
        QTest::newRow("a list in a group box") << Field::ListInAGroupBox << megabyte;
        QTest::newRow("ordinary texts") << Field::ChoiceBox << 20;
        // Wider than a third of the screen, and the dialog still fits in it.
        QTest::newRow("a long choice") << Field::ChoiceBox << 60;
        QTest::newRow("a long label") << Field::Label << 60;
        QTest::newRow("a long entry in a list") << Field::List << 60;
    }

    // Whatever a field holds, the dialog fits the screen, OK and Cancel within reach; a
    // field whose dialog fits the screen keeps the room it asks for, and a list shows its
    // entries whole.
    void longTextsStayInsideTheScreen()
    {
        QFETCH(Field, kind);
        QFETCH(int, length);
        const std::unique_ptr<QDialog> dialog(editDialog(kind, QString(length, QLatin1Char('x'))));
        QSize shown;
        QRect ok;
        QStringList cut;
        DialogRecorder recorder;
        recorder.answerDialog([&](QDialog *d) {
            d->show();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            shown = d->frameGeometry().size();
            ok = d->findChild<QPushButton *>(QStringLiteral("m_btnOK"))->geometry();
            for (const QWidget *field : d->findChildren<QWidget *>()) {
                if ((qobject_cast<const QComboBox *>(field) || qobject_cast<const QLabel *>(field))
                    && field->width() < field->sizeHint().width())
                    cut.append(QString::fromLatin1(field->metaObject()->className()));
            }
            if (const auto *list = d->findChild<QTreeWidget *>()) {
                if (list->header()->length() > list->viewport()->width()
                    || list->columnWidth(1) < static_cast<const QAbstractItemView *>(list)->sizeHintForColumn(1))
                    cut.append(QStringLiteral("list"));
            }
            d->reject();
            return d->result();
        });
        QCOMPARE(Dialogs::exec(dialog.get()), int(QDialog::Rejected));
        const QSize screen = dialog->screen()->availableGeometry().size();
        QVERIFY2(shown.width() <= screen.width() && shown.height() <= screen.height(),
                 qPrintable(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height())));
        QVERIFY(dialog->rect().contains(ok));
        if (length < 100) {
            QCOMPARE(cut, QStringList());
            for (const QWidget *field : dialog->findChildren<QWidget *>()) {
                if (qobject_cast<const QComboBox *>(field) || qobject_cast<const QLabel *>(field))
                    QCOMPARE(field->maximumWidth(), QWIDGETSIZE_MAX);
            }
        }
    }

    // Once the widest field has given up room the dialog is measured anew, its row's layout
    // too: a second field of the row, which the dialog now has room for, keeps all the room
    // it asks for.
    void fieldTheDialogHasRoomForKeepsIt()
    {
        QDialog dialog;
        auto *grid = new QGridLayout(&dialog);
        grid->addWidget(new QLabel(QStringLiteral("Value:"), &dialog), 0, 0);
        auto *row = new QHBoxLayout;
        grid->addLayout(row, 0, 1);
        grid->addWidget(new QPushButton(QStringLiteral("OK"), &dialog), 1, 0);
        const QFontMetrics metrics = dialog.fontMetrics();
        const int screen = dialog.screen()->availableGeometry().width();
        // Wider than the screen, and wider than a third of it but well within the rest.
        auto *widest = new QLabel(QString(screen / metrics.horizontalAdvance(u'x') + 10, u'x'), &dialog);
        auto *wide = new QLabel(QString(screen * 3 / 8 / metrics.horizontalAdvance(u'y'), u'y'), &dialog);
        row->addWidget(widest);
        row->addWidget(wide);
        const int asked = wide->sizeHint().width();
        QVERIFY(asked > screen / 3);

        Dialogs::fitToContents(&dialog);
        QCOMPARE(widest->maximumWidth(), screen / 3);
        QCOMPARE(wide->maximumWidth(), QWIDGETSIZE_MAX);
        dialog.show();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCOMPARE(wide->width(), asked);
        QVERIFY(dialog.frameGeometry().width() <= screen);
    }

    // Without a recorder the real dialogs show: Escape answers the escape button.
    void realDialogs()
    {
        QWidget parent;
        parent.show();
        QStringList seen;
        escapeNextBox(&seen);
        const Dialogs::Buttons buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        QCOMPARE(Dialogs::warning(&parent, Caption, "Connection failed!", buttons, QMessageBox::Yes, QMessageBox::No),
                 QMessageBox::No);
        QCOMPARE(seen.mid(0, 5),
                 (QStringList{Caption, "Connection failed!", QString::number(QMessageBox::Warning), "parent", "&Yes"}));
        // Text buttons keep their order; the answer is an index.
        seen.clear();
        escapeNextBox(&seen);
        QCOMPARE(Dialogs::question(nullptr, Caption, QStringLiteral("Choose"), "&Replace", "&Keep", "Cancel", 1, 2), 2);
        QCOMPARE(seen, (QStringList{Caption, "Choose", QString::number(QMessageBox::Question), "no parent", "&Keep",
                                    "&Replace", "&Keep", "Cancel"}));
        QDialog dialog;
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.done(5); });
        QCOMPARE(Dialogs::exec(&dialog), 5);
    }

    // A window destroyed while one of its boxes or dialogs runs (from a timer, as the host
    // tears windows down) ends the box first; the box is destroyed once, by its maker.
    void windowGoesUnderItsBox_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("overAChild"); // the box stands over a widget inside the window
        QTest::addColumn<int>("answer");

        QTest::newRow("box, its escape button") << "standard" << false << int(QMessageBox::Cancel);
        QTest::newRow("box without an escape button") << "standard, no escape" << false << int(QMessageBox::NoButton);
        QTest::newRow("box over a widget of the window") << "standard" << true << int(QMessageBox::Cancel);
        QTest::newRow("box of button texts") << "texts" << false << 2;
        QTest::newRow("box of button texts without an escape") << "texts, no escape" << false << -1;
        QTest::newRow("dialog on the caller's stack") << "dialog" << false << int(QDialog::Rejected);
        QTest::newRow("dialog over a widget of the window") << "dialog" << true << int(QDialog::Rejected);
        QTest::newRow("font dialog") << "font" << false << 0;
    }

    void windowGoesUnderItsBox()
    {
        QFETCH(QString, kind);
        QFETCH(bool, overAChild);
        QFETCH(int, answer);
        auto *window = new QWidget;
        window->resize(400, 300);
        window->show();
        QWidget *over = overAChild ? new QWidget(window) : window;
        QPointer<QWidget> gone(window);
        QTimer::singleShot(50, [&gone] {
            QVERIFY(QApplication::activeModalWidget());
            delete gone.data();
        });
        const Dialogs::Buttons buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        if (kind.startsWith("standard")) {
            const auto escape = kind.contains("no escape") ? QMessageBox::NoButton : QMessageBox::Cancel;
            QCOMPARE(int(Dialogs::warning(over, Caption, "Connection failed!", buttons, QMessageBox::Yes, escape)),
                     answer);
        } else if (kind.startsWith("texts")) {
            const int escape = kind.contains("no escape") ? -1 : 2;
            QCOMPARE(Dialogs::question(over, Caption, "Choose", "&Replace", "&Keep", "Cancel", 1, escape), answer);
        } else if (kind == "dialog") {
            QDialog dialog(over);
            QCOMPARE(Dialogs::exec(&dialog), answer);
            QVERIFY(!dialog.isVisible());
        } else {
            bool ok = true;
            const QFont initial(QStringLiteral("DejaVu Sans"), 9);
            QCOMPARE(Dialogs::getFont(&ok, initial, over, QStringLiteral("Log font")), initial);
            QCOMPARE(int(ok), answer);
        }
        QVERIFY(gone.isNull());
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(TestDialogSeam)
#include "tst_dialogseam.moc"
