#pragma once

#include <QDialog>

class QHBoxLayout;
class QLabel;
class QVBoxLayout;

// A modal message with a row of buttons that the caller defines: set the text, add the
// buttons in the order they are to appear, and exec() returns the identifier of the
// button pressed, or 0 when the dialog was closed otherwise. The buttons are children
// of the dialog.
class DlgMessage : public QDialog
{
    Q_OBJECT

public:
    explicit DlgMessage(QWidget* parent = nullptr);
    ~DlgMessage() override;

    // Formats like printf (at most 2047 characters, the rest is cut) and shows the
    // result, read as Latin-1, as the message. Text that came from elsewhere must be an
    // argument: setText("%s", text).
    void setText(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Appends a button labelled text (Latin-1) that ends the dialog with id.
    void addButton(const char* text, int id, bool isDefault = false);

    // Runs through the module's dialog seam, so that tests can answer it.
    int exec() override;

private:
    QVBoxLayout* m_layout;
    QLabel* m_message;
    QLabel* m_detail;
    QHBoxLayout* m_buttons;
    bool m_running = false;
};
