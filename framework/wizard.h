#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QLabel;
class QPushButton;
class QStackedWidget;

// The wizard of the add commands: pages shown one at a time under their titles, with the
// button rules the module's wizards were designed around, which Qt's own QWizard does not
// keep (it drives Next from isComplete() and cannot stand Finish in Next's place):
// - Each page has its own Back, Next, Finish and Help enabling. Showing a page enables
//   Next and enables Back unless no earlier page is appropriate (so Back is off on the
//   first page only), then applies the page's own flags.
// - On the last page, and on a page whose Finish is enabled while its Next is not, the
//   finish button stands in Next's place; it is disabled unless setFinishEnabled() said
//   otherwise. Focus goes to the button in Next's place, on the last page to Help.
// - The help button finishes: it reads "&Finish" and emits helpClicked(), which the forms
//   connect to accept(), so the wizard can be finished from any page. The finish button
//   reads "&Next >" like the next button it replaces.
// - selected(title) is emitted every time a page is shown, after the buttons are set, so
//   a receiver can adjust them for the page.
// The first page is shown when the wizard is; the pages belong to the wizard.
class Wizard : public QDialog
{
    Q_OBJECT

public:
    explicit Wizard(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                    Qt::WindowFlags fl = {});
    ~Wizard() override;

    void addPage(QWidget* page, const QString& title);
    int pageCount() const { return int(m_pages.size()); }
    QWidget* page(int index) const;
    int indexOf(QWidget* page) const;
    QWidget* currentPage() const;
    QString title(QWidget* page) const;

    // A page that is not appropriate is stepped over by Next and Back.
    void setAppropriate(QWidget* page, bool appropriate);
    bool appropriate(QWidget* page) const;

    void setBackEnabled(QWidget* page, bool enabled);
    void setNextEnabled(QWidget* page, bool enabled);
    void setFinishEnabled(QWidget* page, bool enabled);
    void setHelpEnabled(QWidget* page, bool enabled);

    QPushButton* backButton() const { return m_back; }
    QPushButton* nextButton() const { return m_next; }
    QPushButton* finishButton() const { return m_finish; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* helpButton() const { return m_help; }

    // Shows the page, sets the buttons for it and emits selected().
    virtual void showPage(QWidget* page);

signals:
    void selected(const QString& title);
    void helpClicked();

protected slots:
    // The next, or previous, appropriate page; nothing past either end.
    virtual void next();
    virtual void back();
    virtual void help();

protected:
    void setVisible(bool visible) override;

private:
    struct Page
    {
        QWidget* widget;
        QString title;
        bool appropriate = true;
        bool backEnabled = true;
        bool nextEnabled = true;
        bool finishEnabled = false;
        bool helpEnabled = true;
    };

    Page* find(QWidget* page);
    const Page* find(QWidget* page) const;
    int appropriateNeighbour(int from, int step) const;
    void updateButtons();
    void setButtonTexts();
    void focusForPage();

    QList<Page> m_pages;
    int m_current = -1;
    QLabel* m_title;
    QStackedWidget* m_stack;
    QPushButton* m_help;
    QPushButton* m_back;
    QPushButton* m_next;
    QPushButton* m_finish;
    QPushButton* m_cancel;
};
