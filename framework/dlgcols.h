#pragma once

#include "cols.h"
#include "tdlgcols.h"

// The "Modify Columns" dialog: which columns of a list are shown, in which order, or back
// to the list's defaults. It edits a model of its own, never bound to a view; the page
// gives it a copy of its model and takes back getCols() only when the dialog is accepted.
//
// Entry i of the displayed list always shows the title of cols[i] of the working model,
// entry i of the hidden list that of hid[i].
class DlgCols : public TDlgCols
{
    Q_OBJECT

public:
    explicit DlgCols(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                     Qt::WindowFlags fl = {});
    ~DlgCols() override;

    void setCols(Cols c);
    Cols getCols() const;

public slots:
    void slotAdd() override;
    void slotRemove() override;
    void slotUp() override;
    void slotDown() override;
    void slotReset() override;
    void slotOK() override;

private:
    void showMovedEntry(int from, int to);

    Cols m_cols;
};
