#pragma once

#include <QWidget>

class QFrame;
class QGridLayout;
class QLabel;
class QTreeWidget;
class QVBoxLayout;

// The form of the product page: a banner of nine pictures framing a two-column list of
// facts about the server. The 2-pixel pictures of column 2 stretch sideways and the
// left column's middle picture downwards, so the banner follows the page's size while
// its corners keep theirs. The widgets are children of the form.
class TDlgLogo : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgLogo".
    explicit TDlgLogo(QWidget* parent = nullptr, const char* name = nullptr,
                      Qt::WindowFlags fl = {});
    ~TDlgLogo() override;

    QLabel* PixmapLabel2;
    QLabel* PixmapLabel8;
    QLabel* PixmapLabel6;
    QLabel* PixmapLabel12;
    QLabel* PixmapLabel3;
    QLabel* PixmapLabel1;
    QFrame* Frame7;
    QTreeWidget* m_list;
    QLabel* PixmapLabel7;
    QLabel* PixmapLabel5;
    QLabel* PixmapLabel9;
    QLabel* PixmapLabel11;

protected:
    QGridLayout* TDlgLogoLayout;
    QVBoxLayout* Frame7Layout;

private:
    void createWidgets();
    void createLayout();
    void setTexts();
};
