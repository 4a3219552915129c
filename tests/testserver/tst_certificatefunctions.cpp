#include "answer_p.h"
#include "catalogue_p.h"
#include "executioncontext_p.h"
#include "logstore_p.h"
#include "statementexecutor_p.h"

#include <QtTest>

using namespace StandIn;

// The stand-in's functions behind the advanced options page: the certificate, the
// authentication methods, and a new self-signed certificate replacing the shown one.
class tst_CertificateFunctions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void answers_data();
    void answers();
    void createReplacesTheCertificate_data();
    void createReplacesTheCertificate();
    void refusedCreateKeepsTheCertificate_data();
    void refusedCreateKeepsTheCertificate();

private:
    Answer run(const QString &statement)
    {
        ExecutionContext context(m_catalogue, m_logs);
        const Answer answer = StatementExecutor::execute(statement, context);
        m_dataChanged = context.dataChanged;
        return answer;
    }
    static QStringList rowsOf(const Answer &answer)
    {
        QStringList rows;
        for (const QStringList &row : answer.rows())
            rows.append(row.join(u'|'));
        return rows;
    }
    QStringList certificate() { return rowsOf(run("select show_certificate()")); }

    Catalogue m_catalogue;
    LogStore m_logs;
    bool m_dataChanged = false;
};

void tst_CertificateFunctions::init()
{
    m_catalogue = Catalogue();
    Table certificate("certificate", {{"issuer", TypeString, false}, {"subject", TypeString, false}});
    QVERIFY(certificate.appendRow({"/CN=Root", "/CN=mail"}));
    m_catalogue.setTable(certificate);
    // Stored in another column order than the answer's.
    Table methods("authmethods", {{"secure", TypeInt, false}, {"name", TypeString, false}});
    QVERIFY(methods.appendRow({"0", "PLAIN"}) && methods.appendRow({"1", "CRAM-MD5"}));
    m_catalogue.setTable(methods);
    m_dataChanged = false;
}

void tst_CertificateFunctions::answers_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<quint32>("status");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("certificate") << "SELECT show_certificate()" << 0u << QStringList{"/CN=Root|/CN=mail"};
    QTest::newRow("methods in their order") << "select GET_AUTH_METHODS()" << 0u
                                            << QStringList{"PLAIN|0", "CRAM-MD5|1"};
    QTest::newRow("certificate with an argument") << "select show_certificate('x')" << 107u << QStringList{};
    QTest::newRow("create with five arguments")
        << "select create_certificate(\"h\", \"\", \"\", \"\", \"US\")" << 107u << QStringList{};
}

void tst_CertificateFunctions::answers()
{
    QFETCH(QString, statement);
    QFETCH(quint32, status);
    QFETCH(QStringList, rows);
    const Answer answer = run(statement);
    QCOMPARE(answer.status(), status);
    QCOMPARE(rowsOf(answer), rows);
}

void tst_CertificateFunctions::createReplacesTheCertificate_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("name");

    QTest::newRow("every attribute, unit before organization")
        << "SELECT create_certificate(\"mx\", \"IT\", \"Corvane\", \"Leeds\", \"Yorkshire\", \"UK\")"
        << "/C=UK/ST=Yorkshire/L=Leeds/O=Corvane/OU=IT/CN=mx";
    QTest::newRow("empty attributes left out") << "select create_certificate('mx', '', '', '', '', 'DE')"
                                               << "/C=DE/CN=mx";
    QTest::newRow("escaped quote") << "select create_certificate(\"mx\", \"\", \"The \\\"Raven\\\"\", \"\", \"\", \"US\")"
                                   << "/C=US/O=The \"Raven\"/CN=mx";
}

void tst_CertificateFunctions::createReplacesTheCertificate()
{
    QFETCH(QString, statement);
    QFETCH(QString, name);
    QCOMPARE(run(statement).status(), 0u);
    QVERIFY(m_dataChanged);
    QCOMPARE(certificate(), QStringList{name + u'|' + name});
}

void tst_CertificateFunctions::refusedCreateKeepsTheCertificate_data()
{
    QTest::addColumn<QString>("statement");

    QTest::newRow("blank host") << "select create_certificate(' ', '', '', '', '', 'US')";
    QTest::newRow("no country") << "select create_certificate('mx', '', '', '', '', '')";
    QTest::newRow("country name") << "select create_certificate('mx', '', '', '', '', 'USA')";
}

void tst_CertificateFunctions::refusedCreateKeepsTheCertificate()
{
    QFETCH(QString, statement);
    QCOMPARE(run(statement).status(), 111u);
    QVERIFY(!m_dataChanged);
    QCOMPARE(certificate(), QStringList{"/CN=Root|/CN=mail"});
}

QTEST_MAIN(tst_CertificateFunctions)
#include "tst_certificatefunctions.moc"
