#pragma once

#include <QLineEdit>
#include <QString>
#include <QTest>

// Types text over everything the field shows, key by key, as a person does: the whole text
// selected with Ctrl+A, then replaced by the keys typed (or deleted, for an empty text).
inline void typeOver(QLineEdit* field, const QString& text)
{
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        QTest::keyClicks(field, text);
}
