#include "countries.h"
#include "dlggencert.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The certificate dialog: the countries it offers, the code OK finds for the chosen one,
// and the host name OK needs.
class tst_DlgGenCert : public QObject
{
    Q_OBJECT

private slots:
    void offersEveryCountryInTableOrder();
    void countryTableHasDistinctTwoLetterCodes();
    void codeOfTheChosenCountry_data();
    void codeOfTheChosenCountry();
    void okNeedsAHostName_data();
    void okNeedsAHostName();
    void cancelLeavesTheCodeEmpty();
    void form();
};

void tst_DlgGenCert::offersEveryCountryInTableOrder()
{
    DlgGenCert dialog(nullptr, nullptr, false, {});
    QCOMPARE(dialog.m_comboCountry->count(), 237);
    QCOMPARE(dialog.m_comboCountry->itemText(0), QStringLiteral("Afghanistan"));
    QCOMPARE(dialog.m_comboCountry->itemText(124), QStringLiteral("F.Y.R.O. Macedonia"));
    QCOMPARE(dialog.m_comboCountry->itemText(236), QStringLiteral("Zimbabwe"));
    for (int i = 0; i < CountryCount; ++i)
        QCOMPARE(dialog.m_comboCountry->itemText(i), QString::fromLatin1(COUNTRIES[i].name));
    QCOMPARE(dialog.m_comboCountry->currentText(), QStringLiteral("United States"));
    QVERIFY(dialog.m_code.isEmpty());
}

void tst_DlgGenCert::countryTableHasDistinctTwoLetterCodes()
{
    QSet<QString> codes;
    QSet<QString> names;
    for (const Country& country : COUNTRIES) {
        const QString code = QString::fromLatin1(country.code);
        QCOMPARE(code.size(), 2);
        QCOMPARE(code, code.toUpper());
        codes.insert(code);
        names.insert(QString::fromLatin1(country.name));
    }
    QCOMPARE(codes.size(), 237);
    QCOMPARE(names.size(), 237);
    QVERIFY(!codes.contains(QStringLiteral("GB")));
    QVERIFY(!codes.contains(QStringLiteral("EH")));
    QVERIFY(!codes.contains(QStringLiteral("PS")));
}

void tst_DlgGenCert::codeOfTheChosenCountry_data()
{
    QTest::addColumn<QString>("country"); // empty: left as the dialog opened
    QTest::addColumn<QString>("code");

    QTest::newRow("untouched") << "" << "US";
    QTest::newRow("United Kingdom") << "United Kingdom" << "UK";
    QTest::newRow("first") << "Afghanistan" << "AF";
    QTest::newRow("last") << "Zimbabwe" << "ZW";
    QTest::newRow("East Timor") << "East Timor" << "TP";
    QTest::newRow("apostrophe in the name") << "Cote D'Ivoire (Ivory Coast)" << "CI";
    QTest::newRow("Saint Helena after Sri Lanka") << "Saint Helena" << "SH";
    QTest::newRow("name ending in a full stop") << "Macau S.A.R." << "MO";
}

void tst_DlgGenCert::codeOfTheChosenCountry()
{
    QFETCH(QString, country);
    QFETCH(QString, code);
    DlgGenCert dialog(nullptr, nullptr, false, {});
    dialog.m_editHostname->setText("mail.corvane.example");
    if (!country.isEmpty()) {
        const int index = dialog.m_comboCountry->findText(country);
        QVERIFY(index >= 0);
        dialog.m_comboCountry->setCurrentIndex(index);
    }
    dialog.m_btnOK->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.m_code, code);
}

void tst_DlgGenCert::okNeedsAHostName_data()
{
    QTest::addColumn<QString>("hostName");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("empty") << "" << false;
    QTest::newRow("blanks") << "  \t" << false;
    QTest::newRow("name") << "mail" << true;
    QTest::newRow("name with blanks") << " mail " << true;
}

void tst_DlgGenCert::okNeedsAHostName()
{
    QFETCH(QString, hostName);
    QFETCH(bool, accepted);
    DlgGenCert dialog(nullptr, nullptr, false, {});
    QVERIFY(!dialog.m_btnOK->isEnabled());
    dialog.m_editHostname->setText(hostName);
    QCOMPARE(dialog.m_btnOK->isEnabled(), accepted);
    // Return reaches slotOK whatever the button's state.
    dialog.slotOK();
    QCOMPARE(dialog.result(), accepted ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(dialog.m_code.isEmpty(), !accepted);
}

void tst_DlgGenCert::cancelLeavesTheCodeEmpty()
{
    DlgGenCert dialog(nullptr, nullptr, false, {});
    dialog.m_editHostname->setText("mail");
    dialog.m_btnCancel->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(dialog.m_code.isEmpty());
}

void tst_DlgGenCert::form()
{
    DlgGenCert dialog(nullptr, nullptr, false, {});
    QCOMPARE(dialog.objectName(), QStringLiteral("TDlgGenCert"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Generate Certificate"));
    QCOMPARE(dialog.size(), QSize(384, 254));
    QVERIFY(!dialog.windowIcon().isNull());
    const QList<QPair<const char*, const char*>> labels{
        {"TextLabel2", "Hostname* :"},        {"TextLabel2_2", "Organization Name:"},
        {"TextLabel2_3", "Organization Unit:"}, {"TextLabel2_4", "City:"},
        {"TextLabel2_5", "State or Province:"}, {"TextLabel2_6", "Country* :"},
        {"TextLabel3", "The required fields are marked with an asterisk (*)."}};
    for (const auto& label : labels)
        QCOMPARE(dialog.findChild<QLabel*>(label.first)->text(), QString::fromLatin1(label.second));
    QStringList chain{dialog.m_editHostname->objectName()};
    for (QWidget* widget = dialog.m_editHostname->nextInFocusChain(); widget != dialog.m_editHostname;
         widget = widget->nextInFocusChain()) {
        if (widget->objectName().startsWith(QLatin1String("m_")))
            chain << widget->objectName();
    }
    QCOMPARE(chain, (QStringList{"m_editHostname", "m_editOrgName", "m_editOrgUnit", "m_editCity",
                                 "m_editState", "m_comboCountry", "m_btnOK", "m_btnCancel"}));
}

QTEST_MAIN(tst_DlgGenCert)
#include "tst_dlggencert.moc"
