// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

class QPlainTextEdit;

// The description box's settings, for the window and for benchmarks.
void setUpDescriptionBox(QPlainTextEdit &box);

// The route description as the box holds it, every line break one LF.
// QPlainTextEdit::toPlainText() would turn a no-break space into a plain one,
// so a description read from a file would not be written back as it was.
QString descriptionBoxText(const QPlainTextEdit &box);

// The box keeps no undo history of its own; the window's Undo and Redo keys
// reach the window's actions instead of being taken by the box.
void leaveKeysToWindow(QPlainTextEdit &box, const QList<QKeySequence> &keys);
