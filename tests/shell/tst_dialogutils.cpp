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

template<typename Button>
Button* buttonLabelled(QDialog* dialog, const QString& text)
{
    for (Button* button : dialog->findChildren<Button*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

// Presses the button labelled pressed, or closes the dialog when pressed is empty.
int finish(QDialog* dialog, const QString& pressed)
{
    if (pressed.isEmpty()) {
        dialog->show();
        dialog->close();
    } else if (QPushButton* button = buttonLabelled<QPushButton>(dialog, pressed)) {
        button->click();
    } else {
        return -1;
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
    void dlgMessageButtonsInOrder();
    void dlgMessageText_data();
    void dlgMessageText();

    void dialogF();
    void dialogInputSize_data();
    void dialogInputSize();
    void dialogInputResult_data();
    void dialogInputResult();

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
    QCOMPARE(recorder.dialogs.first().className, QStringLiteral("DlgMessage"));
    QVERIFY(dialog.isModal());
}

void tst_DialogUtils::dlgMessageWithoutTheSeamShowsItself()
{
    DlgMessage dialog;
    addYesNo(dialog);
    bool wasVisible = false;
    QTimer::singleShot(0, &dialog, [&] {
        wasVisible = dialog.isVisible();
        buttonLabelled<BtnMsg>(&dialog, QStringLiteral("No"))->click();
    });
    QCOMPARE(dialog.exec(), 2);
    QVERIFY(wasVisible);
    QVERIFY(!dialog.isVisible());
}

void tst_DialogUtils::dlgMessageButtonsInOrder()
{
    DlgMessage dialog;
    dialog.addButton("First", 7);
    dialog.addButton("Second", 8, true);
    dialog.addButton("Third", 9, false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QList<BtnMsg*> buttons = dialog.findChildren<BtnMsg*>();
    std::sort(buttons.begin(), buttons.end(), [](BtnMsg* a, BtnMsg* b) { return a->x() < b->x(); });
    QStringList texts;
    QList<int> ids;
    QList<bool> defaults;
    for (BtnMsg* button : buttons) {
        texts << button->text();
        ids << button->m_id;
        defaults << button->isDefault();
    }
    QCOMPARE(texts, QStringList({"First", "Second", "Third"}));
    QCOMPARE(ids, QList<int>({7, 8, 9}));
    QCOMPARE(defaults, QList<bool>({false, true, false}));
}

void tst_DialogUtils::dlgMessageText_data()
{
    QTest::addColumn<QByteArray>("argument");
    QTest::addColumn<QString>("shown");

    QTest::newRow("percent signs stay") << QByteArray("100% of %s") << "100% of %s";
    QTest::newRow("Latin-1") << QByteArray("Stra\xdf" "e") << QString::fromUtf8("Stra\xc3\x9f" "e");
    QTest::newRow("2047 characters") << QByteArray(2047, 'x') << QString(2047, u'x');
    QTest::newRow("longer output is cut") << QByteArray(5000, 'y') << QString(2047, u'y');
}

void tst_DialogUtils::dlgMessageText()
{
    QFETCH(QByteArray, argument);
    QFETCH(QString, shown);

    DlgMessage dialog;
    dialog.setText("%s", argument.constData());
    // The message is the layout's first widget.
    auto* label = qobject_cast<QLabel*>(dialog.layout()->itemAt(0)->widget());
    QVERIFY(label);
    QCOMPARE(label->text(), shown);

    dialog.setText("%d of %d: %s", 2, 5, "done");
    QCOMPARE(label->text(), QStringLiteral("2 of 5: done"));
}

void tst_DialogUtils::dialogF()
{
    QWidget parent;
    DialogRecorder recorder;
    DialogF(&parent, "%s", "50%s caf\xe9");
    DialogF(nullptr, "%d items in %s", 12, "queue");

    QCOMPARE(recorder.messages.size(), 2);
    const DialogRecorder::Message& box = recorder.messages[0];
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.parent.data(), &parent);
    QCOMPARE(box.caption, QString());
    QCOMPARE(box.text, QString::fromUtf8("50%s caf\xc3\xa9"));
    QCOMPARE(box.buttonTexts.size(), 1);
    QCOMPARE(box.defaultButton, 0);
    QCOMPARE(box.escapeButton, -1);
    QCOMPARE(recorder.messages[1].text, QStringLiteral("12 items in queue"));
}

void tst_DialogUtils::dialogInputSize_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("caption"); // null: none given
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("shownCaption");

    QTest::newRow("width 200") << 200 << QByteArray("Rename") << QSize(340, 100) << "Rename";
    // The fixed size comes after the minimum width and wins.
    QTest::newRow("width 100") << 100 << QByteArray("Rename") << QSize(240, 100) << "Rename";
    QTest::newRow("Latin-1 caption") << 200 << QByteArray("Gr\xfc\xdf" "e") << QSize(340, 100)
                                     << QString::fromUtf8("Gr\xc3\xbc\xc3\x9f" "e");
    QTest::newRow("no caption") << 200 << QByteArray() << QSize(340, 100) << QString();
}

void tst_DialogUtils::dialogInputSize()
{
    QFETCH(int, width);
    QFETCH(QByteArray, caption);
    QFETCH(QSize, size);
    QFETCH(QString, shownCaption);

    QWidget parent;
    QString value = QStringLiteral("mailbox");
    QSize shownSize;
    QStringList seen;
    DialogRecorder recorder;
    recorder.answerDialog([&](QDialog* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>();
        shownSize = dialog->size();
        seen << dialog->windowTitle() << dialog->findChild<QLabel*>()->text()
             << QString::number(edit->width()) << edit->selectedText();
        // The default button marked with a star.
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            seen << button->text() + (button->isDefault() ? "*" : "");
        if (dialog->isModal() && dialog->parentWidget() == &parent)
            seen << QStringLiteral("modal over its parent");
        return int(QDialog::Rejected);
    });
    DialogInput(&parent, value, caption.isNull() ? nullptr : caption.constData(), "Name:", width);
    QCOMPARE(shownSize, size);
    QCOMPARE(seen, QStringList({shownCaption, "Name:", QString::number(width), "mailbox", "&Ok*",
                                "&Cancel", "modal over its parent"}));
}

void tst_DialogUtils::dialogInputResult_data()
{
    QTest::addColumn<QString>("pressed"); // empty: closed by the window manager
    QTest::addColumn<int>("result");

    QTest::newRow("Ok") << "&Ok" << 1;
    QTest::newRow("Cancel") << "&Cancel" << 0;
    QTest::newRow("closed") << QString() << 0;
}

void tst_DialogUtils::dialogInputResult()
{
    QFETCH(QString, pressed);
    QFETCH(int, result);

    QString value = QStringLiteral("old");
    DialogRecorder recorder;
    recorder.answerDialog([&pressed](QDialog* dialog) {
        dialog->findChild<QLineEdit*>()->setText(QStringLiteral("typed"));
        return finish(dialog, pressed);
    });
    QCOMPARE(DialogInput(nullptr, value, "Edit", "Text:", 200), result);
    // The edited text comes back however the dialog ended.
    QCOMPARE(value, QStringLiteral("typed"));
}

void tst_DialogUtils::toip_data()
{
    QTest::addColumn<quint32>("hostOrder");
    QTest::addColumn<QString>("text");

    QTest::newRow("loopback") << quint32(0x7f000001) << "127.0.0.1";
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
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QSize>("inner");
    QTest::addColumn<QPoint>("position");

    QTest::newRow("even") << QSize(400, 300) << QSize(100, 50) << QPoint(150, 125);
    QTest::newRow("odd remainder rounds down") << QSize(400, 300) << QSize(101, 51) << QPoint(149, 124);
    // Toward zero: -3 / 2 is -1.
    QTest::newRow("larger widget") << QSize(400, 300) << QSize(403, 303) << QPoint(-1, -1);
}

void tst_DialogUtils::centerWidget()
{
    QFETCH(QSize, outer);
    QFETCH(QSize, inner);
    QFETCH(QPoint, position);

    QWidget top;
    QWidget outerWidget(&top);
    // The outer widget's own position does not count.
    outerWidget.setGeometry(QRect(QPoint(30, 40), outer));
    QWidget widget(&outerWidget);
    widget.resize(inner);
    CenterWidget(&outerWidget, &widget);
    QCOMPARE(widget.pos(), position);
    QCOMPARE(widget.size(), inner);
}

QTEST_MAIN(tst_DialogUtils)
#include "tst_dialogutils.moc"
