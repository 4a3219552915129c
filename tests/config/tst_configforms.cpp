#include "tdlgservice.h"
#include "twndbackup.h"
#include "twndintercon.h"
#include "twndremote.h"
#include "twndservice.h"
#include "twndsmtp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

using MakeForm = std::function<QWidget*()>;
using Act = std::function<void(QWidget*)>;
Q_DECLARE_METATYPE(MakeForm)
Q_DECLARE_METATYPE(Act)

namespace {

template<class Form>
MakeForm make()
{
    return [] { return new Form; };
}

template<class Widget>
Act click(const char* name)
{
    return [name](QWidget* form) { form->findChild<Widget*>(name)->click(); };
}

Act type(const char* name)
{
    return [name](QWidget* form) { form->findChild<QLineEdit*>(name)->setText("x"); };
}

Act activate(const char* name)
{
    return [name](QWidget* form) { emit form->findChild<QComboBox*>(name)->activated(1); };
}

QStringList entries(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts.append(box->itemText(i));
    return texts;
}

} // namespace

// The configuration pages' forms as built, before a page overrides their slots.
class tst_ConfigForms : public QObject
{
    Q_OBJECT

private slots:
    void builtState_data();
    void builtState();
    void slotsComplain_data();
    void slotsComplain();
    void choiceEntries();
    void backupFormKeepsThePreviewDisabled();
    void serviceDialogTabsAndOrder();
    void serviceListChoosesOneServiceAndEditsOnReturn();
};

void tst_ConfigForms::builtState_data()
{
    QTest::addColumn<MakeForm>("makeForm");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");

    QTest::newRow("SMTP") << make<TWndSmtp>() << "TWndSmtp" << "SMTP" << QSize(478, 288);
    QTest::newRow("Remote") << make<TWndRemote>() << "TWndRemote" << "Remote Administration" << QSize(448, 80);
    QTest::newRow("Backup") << make<TWndBackup>() << "TWndBackup" << "Backup" << QSize(525, 304);
    QTest::newRow("Internet") << make<TWndInterCon>() << "TWndInterCon" << "Internet Connection"
                              << QSize(335, 197);
    QTest::newRow("Services") << make<TWndService>() << "TWndService" << "Services" << QSize(412, 262);
    QTest::newRow("Service dialog") << make<TDlgService>() << "TDlgService" << "Service" << QSize(307, 193);
}

// Nothing chosen: the page decides what the widgets show.
void tst_ConfigForms::builtState()
{
    QFETCH(MakeForm, makeForm);
    QFETCH(QString, objectName);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    const std::unique_ptr<QWidget> form(makeForm());
    QCOMPARE(form->objectName(), objectName);
    QCOMPARE(form->windowTitle(), caption);
    QCOMPARE(form->size(), size);
    for (const QAbstractButton* button : form->findChildren<QAbstractButton*>()) {
        if (button->isCheckable())
            QVERIFY2(!button->isChecked(), qPrintable(button->objectName()));
    }
    for (const QComboBox* box : form->findChildren<QComboBox*>())
        QVERIFY(!box->isEditable());
}

void tst_ConfigForms::slotsComplain_data()
{
    QTest::addColumn<MakeForm>("makeForm");
    QTest::addColumn<Act>("act");
    QTest::addColumn<QString>("message");

    QTest::newRow("SMTP Default") << make<TWndSmtp>() << click<QPushButton>("m_btnDefault")
                                  << "TWndSmtp::slotDefault(): Not implemented yet!";
    QTest::newRow("SMTP field") << make<TWndSmtp>() << type("m_editRetry")
                                << "TWndSmtp::slotChange(): Not implemented yet!";
    QTest::newRow("SMTP unit") << make<TWndSmtp>() << activate("m_comboMin")
                               << "TWndSmtp::slotChange(): Not implemented yet!";
    QTest::newRow("SMTP authentication") << make<TWndSmtp>() << click<QCheckBox>("m_chkAuth")
                                         << "TWndSmtp::slotToggleAuth(bool): Not implemented yet!";
    QTest::newRow("SMTP direct") << make<TWndSmtp>() << click<QRadioButton>("m_rbtnDNS")
                                 << "TWndSmtp::slotToggleDNS(bool): Not implemented yet!";
    QTest::newRow("SMTP relay") << make<TWndSmtp>() << click<QRadioButton>("m_rbtnSMTP")
                                << "TWndSmtp::slotToggleSMTP(bool): Not implemented yet!";
    QTest::newRow("Remote check box") << make<TWndRemote>() << click<QCheckBox>("m_chkOnly")
                                      << "TWndRemote::slotChange(): Not implemented yet!";
    QTest::newRow("Remote Edit") << make<TWndRemote>() << click<QPushButton>("m_btnEdit")
                                 << "TWndRemote::slotEdit(): Not implemented yet!";
    QTest::newRow("Backup radio button") << make<TWndBackup>() << click<QRadioButton>("m_rbtnOnly")
                                         << "TWndBackup::slotChanged(): Not implemented yet!";
    QTest::newRow("Backup field") << make<TWndBackup>() << type("m_editFolder")
                                  << "TWndBackup::slotChanged(): Not implemented yet!";
    QTest::newRow("Backup Select") << make<TWndBackup>() << click<QPushButton>("m_btnBrowse")
                                   << "TWndBackup::slotSelect(): Not implemented yet!";
    QTest::newRow("Internet online") << make<TWndInterCon>() << click<QRadioButton>("m_rbtnOnline")
                                     << "TWndInterCon::slotToogleOnline( bool ): Not implemented yet!";
    QTest::newRow("Internet offline") << make<TWndInterCon>() << click<QRadioButton>("m_rbtnOffline")
                                      << "TWndInterCon::slotToogleOffline( bool ): Not implemented yet!";
    QTest::newRow("Internet dial-up") << make<TWndInterCon>() << click<QCheckBox>("m_chkUseRAS")
                                      << "TWndInterCon::slotToogleUseRas( bool ): Not implemented yet!";
    QTest::newRow("Internet password") << make<TWndInterCon>() << type("m_editPass")
                                       << "TWndInterCon::slotChanged(): Not implemented yet!";
    QTest::newRow("Services Start") << make<TWndService>() << click<QPushButton>("m_btnStart")
                                    << "TWndService::slotStart(): Not implemented yet!";
    QTest::newRow("Services Stop") << make<TWndService>() << click<QPushButton>("m_btnStop")
                                   << "TWndService::slotStop(): Not implemented yet!";
    QTest::newRow("Services Edit") << make<TWndService>() << click<QPushButton>("m_btnProp")
                                   << "TWndService::slotProp(): Not implemented yet!";
    QTest::newRow("Service Default") << make<TDlgService>() << click<QPushButton>("m_btnDefault")
                                     << "TDlgService::slotDefault(): Not implemented yet!";
    QTest::newRow("Service Edit") << make<TDlgService>() << click<QPushButton>("m_btnEdit")
                                  << "TDlgService::slotEdit(): Not implemented yet!";
    QTest::newRow("Service OK") << make<TDlgService>() << click<QPushButton>("m_btnOK")
                                << "TDlgService::slotOK(): Not implemented yet!";
    QTest::newRow("Service group") << make<TDlgService>() << click<QCheckBox>("m_chkOnlyAddressGroup")
                                   << "TDlgService::slotOnlyAddressGroup(bool): Not implemented yet!";
}

// Until a page overrides them, the slots the widgets reach say so, once per signal.
void tst_ConfigForms::slotsComplain()
{
    QFETCH(MakeForm, makeForm);
    QFETCH(Act, act);
    QFETCH(QString, message);
    const std::unique_ptr<QWidget> form(makeForm());
    QTest::ignoreMessage(QtWarningMsg, qPrintable(message));
    QTest::failOnWarning(QRegularExpression(QStringLiteral("Not implemented yet")));
    act(form.get());
}

void tst_ConfigForms::choiceEntries()
{
    TWndSmtp smtp;
    QCOMPARE(entries(smtp.m_comboAuth), QStringList({"SMTP AUTH Command", "POP3 before SMTP"}));
    QCOMPARE(entries(smtp.m_comboKB), QStringList({"KB", "MB"}));
    for (const QComboBox* unit : {smtp.m_comboSec, smtp.m_comboWarn, smtp.m_comboMin})
        QCOMPARE(entries(unit), QStringList({"minutes", "hours", "days"}));
    QCOMPARE(smtp.m_editPassword->echoMode(), QLineEdit::Password);

    TWndInterCon internet;
    QCOMPARE(internet.m_rasLine->count(), 0);
    QCOMPARE(internet.m_editPass->echoMode(), QLineEdit::Password);
}

void tst_ConfigForms::backupFormKeepsThePreviewDisabled()
{
    TWndBackup backup;
    QVERIFY(!backup.m_editView->isEnabled());
    QVERIFY(backup.m_editFormat->isEnabled());
    QCOMPARE(backup.TextLabel18->text(), QStringLiteral("Folder name format: #backup/"));
}

void tst_ConfigForms::serviceDialogTabsAndOrder()
{
    TDlgService dialog;
    QCOMPARE(dialog.m_tabs->count(), 2);
    QCOMPARE(dialog.m_tabs->tabText(0), QStringLiteral("Properties"));
    QCOMPARE(dialog.m_tabs->tabText(1), QStringLiteral("Access"));
    QCOMPARE(dialog.m_btnDefault->text(), QStringLiteral("&Default"));
    QCOMPARE(dialog.m_btnEdit->text(), QStringLiteral("&Edit..."));
    QCOMPARE(dialog.m_chkOnlyAddressGroup->text(),
             QStringLiteral("Allow access only from selected IP address group"));
    QVERIFY(dialog.m_label->wordWrap());
    QVERIFY(dialog.m_btnOK->isDefault());
    QStringList order;
    // The form's own widgets that Tab reaches, in the focus chain from the tabs on.
    QWidget* widget = dialog.m_tabs;
    for (int step = 0; step < 200 && order.size() < 9; ++step, widget = widget->nextInFocusChain()) {
        if (widget->objectName().startsWith(QLatin1String("m_"))
            && (widget->focusPolicy() & Qt::TabFocus))
            order << widget->objectName();
    }
    QCOMPARE(order, QStringList({"m_tabs", "m_editPort", "m_btnDefault", "m_comboStartup",
                                 "m_chkOnlyAddressGroup", "m_comboAddressGroup", "m_btnEdit",
                                 "m_btnOK", "m_btnCancel"}));
    // Cancel closes without a slot of the form.
    dialog.show();
    dialog.m_btnCancel->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void tst_ConfigForms::serviceListChoosesOneServiceAndEditsOnReturn()
{
    TWndService form;
    QCOMPARE(form.m_list->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(form.m_list->allColumnsShowFocus());
    QCOMPARE(form.m_btnStart->text(), QStringLiteral("Start"));
    QCOMPARE(form.m_btnStop->text(), QStringLiteral("Stop"));
    QCOMPARE(form.m_btnProp->text(), QStringLiteral("Edit..."));
    QCOMPARE(form.m_btnStart->minimumSize(), QSize(80, 25));
    QTest::ignoreMessage(QtWarningMsg, "TWndService::slotProp(): Not implemented yet!");
    QTest::keyClick(form.m_list, Qt::Key_Return);
}

QTEST_MAIN(tst_ConfigForms)
#include "tst_configforms.moc"
