// The message dialog with the caller's buttons, the formatted warning box, the one-line
// input dialog, address texts and centring.

#include "btnmsg.h"
#include "dialogrecorder.h"
#include "dialogutils.h"
#include "dlgmessage.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <arpa/inet.h>

namespace {

// Presses the button labelled pressed, or closes the dialog when pressed is empty.
int finish(QDialog* dialog, const QString& pressed)
{
    if (pressed.isEmpty()) {
        dialog->show();
        dialog->close();
    }
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (!pressed.isEmpty() && button->text() == pressed)
            button->click();
    }
    return dialog->result();
}

void addYesNo(DlgMessage& dialog)
{
    dialog.setText("Delete %d messages?", 3);
    dialog.addButton("Yes", 1, true);
    dialog.addButton("No", 2);
}

} // namespace

class tst_DialogUtils : public QObject
{
    Q_OBJECT

private slots:
    void dlgMessageReturnsTheButtonsId_data();
    void dlgMessageReturnsTheButtonsId();
    void dlgMessageWithoutTheSeamShowsItself();
    void dlgMessageText();
    void dialogF();
    void dialogInput_data();
    void dialogInput();
    void toip_data();
    void toip();
    void centerWidget_data();
    void centerWidget();
};

void tst_DialogUtils::dlgMessageReturnsTheButtonsId_data()
{
    QTest::addColumn<QString>("pressed"); // empty: closed by the window manager
    QTest::addColumn<int>("result");

    QTest::newRow("Yes") << "Yes" << 1;
    QTest::newRow("No") << "No" << 2;
    QTest::newRow("closed") << QString() << 0;
}

void tst_DialogUtils::dlgMessageReturnsTheButtonsId()
{
    QFETCH(QString, pressed);
    QFETCH(int, result);

    DlgMessage dialog;
    addYesNo(dialog);
    DialogRecorder recorder;
    recorder.answerDialog([&pressed](QDialog* shown) { return finish(shown, pressed); });
    QCOMPARE(dialog.exec(), result);
    QCOMPARE(recorder.dialogs.size(), 1);
    QVERIFY(dialog.isModal());
}

// Without a recorder the seam runs the real dialog, which calls exec() once more.
void tst_DialogUtils::dlgMessageWithoutTheSeamShowsItself()
{
    DlgMessage dialog;
    addYesNo(dialog);
    QStringList seen;
    QTimer::singleShot(0, &dialog, [&] {
        for (BtnMsg* button : dialog.findChildren<BtnMsg*>())
            seen << button->text() + (button->isDefault() ? "*" : "");
        if (dialog.isVisible())
            seen << QStringLiteral("visible");
        dialog.findChildren<BtnMsg*>().at(1)->click();
    });
    QCOMPARE(dialog.exec(), 2);
    QCOMPARE(seen, QStringList({"Yes*", "No", "visible"}));
    QVERIFY(!dialog.isVisible());
}

void tst_DialogUtils::dlgMessageText()
{
    DlgMessage dialog;
    dialog.setText("%s", "100% of %s");
    auto* label = qobject_cast<QLabel*>(dialog.layout()->itemAt(0)->widget());
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("100% of %s"));
    dialog.setText("%d of %d: %s", 2, 5, "done");
    QCOMPARE(label->text(), QStringLiteral("2 of 5: done"));
}

void tst_DialogUtils::dialogF()
{
    QWidget parent;
    DialogRecorder recorder;
    DialogF(&parent, "%s", "50%s caf\xe9");
    DialogF(nullptr, "%d items in %s", 12, "queue");
    // Longer output is cut.
    DialogF(nullptr, "%s", QByteArray(5000, 'y').constData());

    QCOMPARE(recorder.messageTexts(), QStringList({QString::fromUtf8("50%s caf\xc3\xa9"),
                                                   "12 items in queue", QString(2047, u'y')}));
    const DialogRecorder::Message& box = recorder.messages[0];
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.parent.data(), &parent);
    QCOMPARE(box.caption, QString());
    QCOMPARE(box.buttonTexts.size(), 1);
    QCOMPARE(box.defaultButton, 0);
    QCOMPARE(box.escapeButton, -1);
}

void tst_DialogUtils::dialogInput_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("caption"); // null: none given
    QTest::addColumn<QString>("pressed");    // empty: closed by the window manager
    QTest::addColumn<QSize>("size"); // the least it opens at: its field's width + 140 by 100
    QTest::addColumn<int>("result");

    QTest::newRow("Ok") << 200 << QByteArray("Rename") << "&Ok" << QSize(340, 100) << 1;
    // 240 pixels would cut its Cancel button: it grows to show both buttons whole.
    QTest::newRow("narrow, Cancel") << 100 << QByteArray("Rename") << "&Cancel" << QSize(240, 100) << 0;
    QTest::newRow("no caption, closed") << 200 << QByteArray() << QString() << QSize(340, 100) << 0;
}

void tst_DialogUtils::dialogInput()
{
    QFETCH(int, width);
    QFETCH(QByteArray, caption);
    QFETCH(QString, pressed);
    QFETCH(QSize, size);
    QFETCH(int, result);

    QWidget parent;
    QString value = QStringLiteral("mailbox");
    QSize shownSize;
    QStringList seen;
    DialogRecorder recorder;
    recorder.answerDialog([&](QDialog* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>();
        dialog->show();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        shownSize = dialog->size();
        for (const QWidget* widget : dialog->findChildren<QWidget*>()) {
            const bool text = qobject_cast<const QLabel*>(widget) || qobject_cast<const QPushButton*>(widget);
            if (!dialog->rect().contains(widget->geometry()) || (text && widget->width() < widget->sizeHint().width()))
                seen << QStringLiteral("cut: %1").arg(widget->metaObject()->className());
        }
        if (dialog->minimumSize() != dialog->maximumSize())
            seen << QStringLiteral("resizable");
        seen << dialog->windowTitle() << dialog->findChild<QLabel*>()->text()
             << QString::number(edit->width()) << edit->selectedText();
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            seen << button->text() + (button->isDefault() ? "*" : "");
        if (dialog->isModal() && dialog->parentWidget() == &parent)
            seen << QStringLiteral("modal over its parent");
        edit->setText(QStringLiteral("typed"));
        return finish(dialog, pressed);
    });
    QCOMPARE(DialogInput(&parent, value, caption.isNull() ? nullptr : caption.constData(), "Name:",
                         width),
             result);
    // Exactly that when everything fits in it.
    QCOMPARE(shownSize.height(), size.height());
    QVERIFY(shownSize.width() >= size.width());
    QCOMPARE(shownSize.width() == size.width(), width == 200);
    QCOMPARE(seen, QStringList({QString::fromLatin1(caption), "Name:", QString::number(width),
                                "mailbox", "&Ok*", "&Cancel", "modal over its parent"}));
    // The edited text comes back however the dialog ended.
    QCOMPARE(value, QStringLiteral("typed"));
}

void tst_DialogUtils::toip_data()
{
    QTest::addColumn<quint32>("hostOrder");
    QTest::addColumn<QString>("text");

    QTest::newRow("byte order") << quint32(0x01020304) << "1.2.3.4";
    QTest::newRow("longest") << quint32(0xffffffff) << "255.255.255.255";
}

void tst_DialogUtils::toip()
{
    QFETCH(quint32, hostOrder);
    QFETCH(QString, text);

    char buffer[17];
    std::memset(buffer, '#', sizeof buffer);
    ::toip(buffer, htonl(hostOrder));
    QCOMPARE(QString::fromLatin1(buffer), text);
    QCOMPARE(buffer[16], '#');
    QString converted = QStringLiteral("previous");
    ::toip(converted, htonl(hostOrder));
    QCOMPARE(converted, text);
}

void tst_DialogUtils::centerWidget_data()
{
    QTest::addColumn<QSize>("inner");
    QTest::addColumn<QPoint>("position");

    QTest::newRow("odd remainder rounds down") << QSize(101, 51) << QPoint(149, 124);
    // Toward zero: -3 / 2 is -1.
    QTest::newRow("larger widget") << QSize(403, 303) << QPoint(-1, -1);
}

void tst_DialogUtils::centerWidget()
{
    QFETCH(QSize, inner);
    QFETCH(QPoint, position);

    QWidget top;
    QWidget outer(&top);
    // The outer widget's own position does not count.
    outer.setGeometry(30, 40, 400, 300);
    QWidget widget(&outer);
    widget.resize(inner);
    CenterWidget(&outer, &widget);
    QCOMPARE(widget.pos(), position);
    QCOMPARE(widget.size(), inner);
}

QTEST_MAIN(tst_DialogUtils)
#include "tst_dialogutils.moc"
