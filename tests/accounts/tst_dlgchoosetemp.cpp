// The template chooser: "Default" first and selected, then the templates that serve the
// users page's domain, by name; what OK, Return and a double click hand back.

#include "accountcolumns.h"
#include "accountfields.h"
#include "accounttexts.h"
#include "dbrow.h"
#include "dbtable.h"
#include "dlgchoosetemp.h"
#include "listtexts.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using AccountTexts::cell;

namespace {

// tempname, domain, description.
using Templates = QList<QStringList>;

void fill(DBTable& table, const DBCOL* columns, const QList<QList<QPair<const char*, QString>>>& rows)
{
    for (const auto& values : rows) {
        auto row = std::make_unique<DBRow>(columns);
        for (const auto& value : values)
            setCell(row.get(), value.first, value.second);
        table.m_rows.push_back(std::move(row));
    }
}

QStringList listed(const QTreeWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        names << list->topLevelItem(i)->text(0);
    return names;
}

} // namespace

class TestDlgChooseTemp : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void listedTemplates_data();
    void listedTemplates();
    void defaultStaysFirstAndSelected_data();
    void defaultStaysFirstAndSelected();
    void choosing_data();
    void choosing();
    void sortedByTheClickedHeader();

private:
    void setTemplates(const Templates& templates);

    DBTable m_templates;
    DBTable m_domains;
};

void TestDlgChooseTemp::init()
{
    m_templates.m_rows.clear();
    m_domains.m_rows.clear();
    fill(m_domains, dbcol_domain,
         {{{"domain", "corvane.example"}, {"type", "0"}},
          {{"domain", "lakeside.example"}, {"type", "1"}},
          {{"domain", "corvane-mail.example"}, {"type", "2"}}});
}

void TestDlgChooseTemp::setTemplates(const Templates& templates)
{
    for (const QStringList& t : templates)
        fill(m_templates, dbcol_template,
             {{{"tempname", t.at(0)}, {"domain", t.at(1)}, {"description", t.at(2)}}});
}

void TestDlgChooseTemp::listedTemplates_data()
{
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QStringList>("expected");

    // The primary domain's templates carry its name; the page passes the empty text.
    QTest::newRow("primary domain") << "" << QStringList{"Default", "anywhere", "head office"};
    QTest::newRow("other domain") << "lakeside.example" << QStringList{"Default", "anywhere", "lakeside"};
    QTest::newRow("domain without templates") << "nowhere.example" << QStringList{"Default", "anywhere"};
}

void TestDlgChooseTemp::listedTemplates()
{
    QFETCH(QString, domain);
    QFETCH(QStringList, expected);

    setTemplates({{"lakeside", "lakeside.example", "Lake"},
                  {"head office", "corvane.example", "Head office"},
                  {"anywhere", "", "Any domain"},
                  {"shouting", "CORVANE.EXAMPLE", "Letter case differs"}});
    DlgChooseTemp chooser(&m_templates, &m_domains, domain);

    QCOMPARE(chooser.windowTitle(), QStringLiteral("User Templates"));
    QCOMPARE(listed(chooser.m_list), expected);
    QCOMPARE(chooser.m_list->topLevelItem(1)->text(1), QStringLiteral("Any domain"));
}

void TestDlgChooseTemp::defaultStaysFirstAndSelected_data()
{
    QTest::addColumn<Templates>("templates");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("ordinary names") << Templates{{"zeta", "", ""}, {"alpha", "", ""}}
                                    << QStringList{"Default", "alpha", "zeta"};
    QTest::newRow("a template called Default")
        << Templates{{"zeta", "", ""}, {"Default", "", "mine"}} << QStringList{"Default", "Default", "zeta"};
    QTest::newRow("names that sort before blanks")
        << Templates{{"", "", ""}, {" a", "", ""}, {"b", "", ""}} << QStringList{"Default", "", " a", "b"};
}

void TestDlgChooseTemp::defaultStaysFirstAndSelected()
{
    QFETCH(Templates, templates);
    QFETCH(QStringList, expected);

    setTemplates(templates);
    DlgChooseTemp chooser(&m_templates, &m_domains, QString());

    QCOMPARE(listed(chooser.m_list), expected);
    const QList<QTreeWidgetItem*> selected = chooser.m_list->selectedItems();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.first(), chooser.m_list->topLevelItem(0));
    QCOMPARE(chooser.chosenTemplate(), nullptr);
}

void TestDlgChooseTemp::choosing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("chosen"); // empty: "Default", no template

    QTest::newRow("OK on Default") << "ok" << 0 << "";
    QTest::newRow("OK on a template") << "ok" << 1 << "alpha";
    QTest::newRow("Return") << "return" << 2 << "zeta";
    QTest::newRow("double click") << "double click" << 1 << "alpha";
}

void TestDlgChooseTemp::choosing()
{
    QFETCH(QString, how);
    QFETCH(int, entry);
    QFETCH(QString, chosen);

    setTemplates({{"zeta", "", ""}, {"alpha", "", ""}});
    DlgChooseTemp chooser(&m_templates, &m_domains, QString());
    chooser.show();
    QTreeWidgetItem* item = chooser.m_list->topLevelItem(entry);
    chooser.m_list->setCurrentItem(item);

    if (how == QLatin1String("ok"))
        chooser.m_btnOK->click();
    else if (how == QLatin1String("return"))
        QTest::keyClick(chooser.m_list, Qt::Key_Return);
    else
        emit chooser.m_list->itemDoubleClicked(item, 0);

    QCOMPARE(chooser.result(), int(QDialog::Accepted));
    DBRow* row = chooser.chosenTemplate();
    QCOMPARE(row ? cell(row, "tempname") : QString(), chosen);
    QCOMPARE(row == nullptr, chosen.isEmpty());
}

void TestDlgChooseTemp::sortedByTheClickedHeader()
{
    setTemplates({{"zeta", "", "Alpha"}, {"alpha", "", "Zulu"}});
    DlgChooseTemp chooser(&m_templates, &m_domains, QString());
    chooser.resize(500, 300);
    chooser.show();
    QTreeWidget* list = chooser.m_list;
    list->header()->resizeSection(0, 150);
    auto inClickedOrder = [list](QStringList ascending) {
        if (list->header()->sortIndicatorOrder() == Qt::DescendingOrder)
            std::reverse(ascending.begin(), ascending.end());
        return ascending;
    };

    clickHeader(list, 1);
    QCOMPARE(list->header()->sortIndicatorSection(), 1);
    QCOMPARE(listed(list), inClickedOrder({"Default", "zeta", "alpha"}));
    clickHeader(list, 0);
    QCOMPARE(list->header()->sortIndicatorSection(), 0);
    QCOMPARE(listed(list), inClickedOrder({"Default", "alpha", "zeta"}));
    // What is selected stays chosen wherever it now stands.
    QCOMPARE(chooser.chosenTemplate(), nullptr);
}

QTEST_MAIN(TestDlgChooseTemp)
#include "tst_dlgchoosetemp.moc"
