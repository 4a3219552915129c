// The formatted warning box, the one-line input dialog, address texts and centring.

#include "dialogrecorder.h"
#include "dialogutils.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <arpa/inet.h>

namespace {

// What DialogInput showed, read while it was running.
struct InputDialogSeen
{
    QSize size;
    QSize minimumSize;
    QString caption;
    bool modal = false;
    QWidget* parent = nullptr;
    QString labelText;
    QRect labelGeometry;
    Qt::Alignment labelAlignment;
    QString editText;
    QRect editGeometry;
    QString selected;
    QStringList buttonTexts;
    QList<QRect> buttonGeometries;
    QList<bool> buttonDefaults;
};

InputDialogSeen look(QDialog* dialog)
{
    InputDialogSeen seen;
    seen.size = dialog->size();
    seen.minimumSize = dialog->minimumSize();
    seen.caption = dialog->windowTitle();
    seen.modal = dialog->isModal();
    seen.parent = dialog->parentWidget();
    if (auto* label = dialog->findChild<QLabel*>()) {
        seen.labelText = label->text();
        seen.labelGeometry = label->geometry();
        seen.labelAlignment = label->alignment();
    }
    if (auto* edit = dialog->findChild<QLineEdit*>()) {
        seen.editText = edit->text();
        seen.editGeometry = edit->geometry();
        seen.selected = edit->selectedText();
    }
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        seen.buttonTexts.append(button->text());
        seen.buttonGeometries.append(button->geometry());
        seen.buttonDefaults.append(button->isDefault());
    }
    return seen;
}

QPushButton* buttonLabelled(QDialog* dialog, const QString& text)
{
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

} // namespace

class tst_DialogUtils : public QObject
{
    Q_OBJECT

private slots:
    void dialogF_data();
    void dialogF();

    void dialogInputLayout_data();
    void dialogInputLayout();
    void dialogInputResult_data();
    void dialogInputResult();

    void toip_data();
    void toip();

    void centerWidget_data();
    void centerWidget();
};

void tst_DialogUtils::dialogF_data()
{
    QTest::addColumn<QByteArray>("argument");
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << QByteArray("Disk full") << "Disk full";
    QTest::newRow("percent stays") << QByteArray("50%s") << "50%s";
    QTest::newRow("Latin-1") << QByteArray("caf\xe9") << QString::fromUtf8("caf\xc3\xa9");
    QTest::newRow("cut to 2047") << QByteArray(3000, 'z') << QString(2047, u'z');
}

void tst_DialogUtils::dialogF()
{
    QFETCH(QByteArray, argument);
    QFETCH(QString, text);

    QWidget parent;
    DialogRecorder recorder;
    DialogF(&parent, "%s", argument.constData());
    DialogF(nullptr, "%d items in %s", 12, "queue");

    QCOMPARE(recorder.messages.size(), 2);
    const DialogRecorder::Message& box = recorder.messages[0];
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.parent.data(), &parent);
    QCOMPARE(box.caption, QString());
    QCOMPARE(box.text, text);
    QCOMPARE(box.buttonTexts.size(), 1);
    QCOMPARE(box.defaultButton, 0);
    QCOMPARE(box.escapeButton, -1);
    QCOMPARE(recorder.messages[1].text, QStringLiteral("12 items in queue"));
    QVERIFY(recorder.messages[1].parent.isNull());
}

void tst_DialogUtils::dialogInputLayout_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("caption");  // null: none given
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("shownCaption");

    QTest::newRow("width 200") << 200 << QByteArray("Rename") << QSize(340, 100) << "Rename";
    QTest::newRow("width 400") << 400 << QByteArray("Rename") << QSize(540, 100) << "Rename";
    // The fixed size comes after the minimum width and wins.
    QTest::newRow("width 100") << 100 << QByteArray("Rename") << QSize(240, 100) << "Rename";
    QTest::newRow("no caption") << 200 << QByteArray() << QSize(340, 100) << QString();
    QTest::newRow("Latin-1 caption") << 200 << QByteArray("Gr\xfc\xdf" "e") << QSize(340, 100)
                                     << QString::fromUtf8("Gr\xc3\xbc\xc3\x9f" "e");
}

void tst_DialogUtils::dialogInputLayout()
{
    QFETCH(int, width);
    QFETCH(QByteArray, caption);
    QFETCH(QSize, size);
    QFETCH(QString, shownCaption);

    QWidget parent;
    QString value = QStringLiteral("mailbox");
    InputDialogSeen seen;
    DialogRecorder recorder;
    recorder.answerDialog([&seen](QDialog* dialog) {
        seen = look(dialog);
        return int(QDialog::Rejected);
    });
    DialogInput(&parent, value, caption.isNull() ? nullptr : caption.constData(), "Name:", width);

    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(seen.size, size);
    QCOMPARE(seen.caption, shownCaption);
    QVERIFY(seen.modal);
    QCOMPARE(seen.parent, &parent);
    QCOMPARE(seen.labelText, QStringLiteral("Name:"));
    QCOMPARE(seen.labelGeometry, QRect(20, 25, 75, 22));
    QVERIFY(seen.labelAlignment & Qt::AlignRight);
    QCOMPARE(seen.editText, QStringLiteral("mailbox"));
    QCOMPARE(seen.editGeometry, QRect(100, 20, width, 22));
    QCOMPARE(seen.selected, QStringLiteral("mailbox"));
    QCOMPARE(seen.buttonTexts, (QStringList{"&Ok", "&Cancel"}));
    QCOMPARE(seen.buttonGeometries, (QList<QRect>{QRect(100, 60, 70, 24), QRect(180, 60, 70, 24)}));
    QCOMPARE(seen.buttonDefaults, (QList<bool>{true, false}));
}

void tst_DialogUtils::dialogInputResult_data()
{
    QTest::addColumn<QString>("pressed");  // empty: closed by the window manager
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
        if (pressed.isEmpty()) {
            dialog->show();
            dialog->close();
        } else {
            buttonLabelled(dialog, pressed)->click();
        }
        return dialog->result();
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
    QTest::newRow("zero") << quint32(0) << "0.0.0.0";
    QTest::newRow("broadcast") << quint32(0xffffffff) << "255.255.255.255";
    QTest::newRow("private") << quint32(0xc0a80a01) << "192.168.10.1";
    QTest::newRow("byte order") << quint32(0x01020304) << "1.2.3.4";
}

void tst_DialogUtils::toip()
{
    QFETCH(quint32, hostOrder);
    QFETCH(QString, text);

    const unsigned int networkOrder = htonl(hostOrder);
    char buffer[17];
    std::memset(buffer, '#', sizeof buffer);
    ::toip(buffer, networkOrder);
    QCOMPARE(QString::fromLatin1(buffer), text);
    QCOMPARE(buffer[16], '#');

    QString converted = QStringLiteral("previous");
    ::toip(converted, networkOrder);
    QCOMPARE(converted, text);
}

void tst_DialogUtils::centerWidget_data()
{
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QSize>("inner");
    QTest::addColumn<QPoint>("position");

    QTest::newRow("even") << QSize(400, 300) << QSize(100, 50) << QPoint(150, 125);
    QTest::newRow("odd remainder rounds down") << QSize(400, 300) << QSize(101, 51) << QPoint(149, 124);
    QTest::newRow("same size") << QSize(200, 100) << QSize(200, 100) << QPoint(0, 0);
    QTest::newRow("larger widget") << QSize(400, 300) << QSize(500, 400) << QPoint(-50, -50);
    // Toward zero: -1 / 2 is 0, -3 / 2 is -1.
    QTest::newRow("larger by one") << QSize(400, 300) << QSize(401, 301) << QPoint(0, 0);
    QTest::newRow("larger by three") << QSize(400, 300) << QSize(403, 303) << QPoint(-1, -1);
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
