#include "certificate.h"
#include "wndadvanced.h"

#include <QtTest>

Q_DECLARE_METATYPE(Certificate::Attributes)

// What the advanced options page makes of certificate names and of the disabled methods,
// without a server.
class tst_Certificate : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void createStatement_data();
    void createStatement();
    void disabledMethods_data();
    void disabledMethods();
};

using Fields = QList<Certificate::Field>;

void tst_Certificate::split_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Fields>("fields");

    QTest::newRow("three fields") << "/ST=Texas/L=Austin/CN=mail"
                                  << Fields{{"ST", "Texas"}, {"L", "Austin"}, {"CN", "mail"}};
    QTest::newRow("slash inside a value starts the next field")
        << "/O=R/D/CN=x" << Fields{{"O", "R"}, {"D/CN", "x"}};
    QTest::newRow("trailing slash ends the split") << "/CN=mail/" << Fields{{"CN", "mail"}};
    QTest::newRow("slash then nothing but text") << "/C=US/garbage" << Fields{{"C", "US"}};
    QTest::newRow("slash without a field name") << "/C=US/=v/CN=x" << Fields{{"C", "US"}};
    QTest::newRow("text before the first slash skipped") << "subject: /CN=a=b"
                                                         << Fields{{"CN", "a=b"}};
    QTest::newRow("empty value kept") << "/OU=/CN=x" << Fields{{"OU", ""}, {"CN", "x"}};
    QTest::newRow("no slash") << "CN=x" << Fields{};
    QTest::newRow("empty") << "" << Fields{};
    QTest::newRow("only a slash") << "/" << Fields{};
}

void tst_Certificate::split()
{
    QFETCH(QString, name);
    QFETCH(Fields, fields);
    QCOMPARE(Certificate::split(name), fields);
}

void tst_Certificate::createStatement_data()
{
    QTest::addColumn<Certificate::Attributes>("attributes");
    QTest::addColumn<QString>("statement");

    QTest::newRow("unit before organization")
        << Certificate::Attributes{"mail.corvane.example", "Corvane Ltd", "Mail", "Austin", "Texas", "US"}
        << "SELECT create_certificate(\"mail.corvane.example\", \"Mail\", \"Corvane Ltd\", \"Austin\", "
           "\"Texas\", \"US\")";
    QTest::newRow("quotes and backslashes escaped")
        << Certificate::Attributes{"m\"x", "O'Neil", "a\\b", "", "", "UK"}
        << "SELECT create_certificate(\"m\\\"x\", \"a\\\\b\", \"O\\'Neil\", \"\", \"\", \"UK\")";
    QTest::newRow("empty values") << Certificate::Attributes{"h", "", "", "", "", ""}
                                  << "SELECT create_certificate(\"h\", \"\", \"\", \"\", \"\", \"\")";
}

void tst_Certificate::createStatement()
{
    QFETCH(Certificate::Attributes, attributes);
    QFETCH(QString, statement);
    QCOMPARE(Certificate::createStatement(attributes), statement);
}

void tst_Certificate::disabledMethods_data()
{
    QTest::addColumn<QString>("disabled");
    QTest::addColumn<QString>("method");
    QTest::addColumn<bool>("off");

    QTest::newRow("a name inside another stays enabled") << "CRAM-MD5" << "MD5" << false;
    QTest::newRow("the whole name") << "CRAM-MD5" << "CRAM-MD5" << true;
    QTest::newRow("among others") << "PLAIN,CRAM-MD5,LOGIN" << "CRAM-MD5" << true;
    QTest::newRow("blanks around a name") << "PLAIN, LOGIN" << "LOGIN" << true;
    QTest::newRow("case counts") << "login" << "LOGIN" << false;
    QTest::newRow("nothing disabled") << "" << "PLAIN" << false;
    QTest::newRow("a longer name does not match") << "MD5" << "CRAM-MD5" << false;
}

void tst_Certificate::disabledMethods()
{
    QFETCH(QString, disabled);
    QFETCH(QString, method);
    QFETCH(bool, off);
    QCOMPARE(WndAdvanced::isDisabled(disabled, method), off);
}

QTEST_MAIN(tst_Certificate)
#include "tst_certificate.moc"
