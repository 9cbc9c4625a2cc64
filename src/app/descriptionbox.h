// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <QPlainTextEdit>

#include <cstddef>
#include <string_view>

namespace plenix {

// The route description's box. Qt lays out a paragraph whole, at Open and
// again at every keystroke in it, so a line of megabytes would take
// minutes: the box holds a line longer than ChunkChars as several
// paragraphs, each but the last marked as going on without a line break.
// The marks are the box's own affair: its text, its clipboard copy, paste,
// Enter, Backspace and Delete treat the line as one. Qt also spends some
// microseconds and 140 bytes on every paragraph, so short lines share one,
// joined by line separators, which the box's text reads as line breaks.
class DescriptionEdit final : public QPlainTextEdit
{
    Q_OBJECT

public:
    static constexpr int ChunkChars = 4096;

    explicit DescriptionEdit(QWidget *parent = nullptr);
    ~DescriptionEdit() override;
    Q_DISABLE_COPY_MOVE(DescriptionEdit)

    // Shows a description as a route file stores it, converted a slice at a
    // time so that no second copy of a long text is held. The cursor goes to
    // the start.
    void showStored(std::string_view stored);
    // The text between two positions of the document, LF for each line
    // break, the line separator included; other characters are as the
    // document holds them (a no-break space stays one).
    QString textBetween(int from, int to) const;
    // The position after the last character.
    int endPosition() const;
    // How many bytes of a route file's description come before a position
    // when each character is one byte and each line break CR LF.
    std::size_t storedOffset(int position) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    // Inserts text whose line breaks are LF at the cursor, in place of its
    // selection: joins short lines in a paragraph and marks where a line is
    // cut.
    void insertLines(QTextCursor &cursor, QString text);
    void followChange(int position, int added);

    bool m_placingMarks = false;
};

// The description box's settings, for the window and for benchmarks.
void setUpDescriptionBox(QPlainTextEdit &box);

// The route description as the box holds it, every line break one LF.
// QPlainTextEdit::toPlainText() would turn a no-break space into a plain one,
// so a description read from a file would not be written back as it was.
QString descriptionBoxText(const DescriptionEdit &box);

// The box keeps no undo history of its own; the window's Undo and Redo keys
// reach the window's actions instead of being taken by the box.
void leaveKeysToWindow(QPlainTextEdit &box, const QList<QKeySequence> &keys);

} // namespace plenix
