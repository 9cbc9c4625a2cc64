// SPDX-License-Identifier: GPL-3.0-or-later
#include "descriptionbox.h"

#include "textcodec.h"

#include "routefile.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace plenix {

namespace {
// A text box claims its editing keys before the window's shortcuts see them;
// this declines the claim for the keys given.
class KeyRelease final : public QObject
{
public:
    KeyRelease(const QList<QKeySequence> &keys, QObject *parent) : QObject(parent), m_keys(keys) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (m_keys.contains(QKeySequence(key->keyCombination()))) {
                event->ignore();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QList<QKeySequence> m_keys;
};

// Qt's layout of a line that has no blank to break at grows with the square
// of its length when it looks for word boundaries first (1 MB: 90 s); broken
// anywhere it grows only linearly. Lines this long are no prose anyway.
constexpr int LongLineChars = 10000;

void followLineLengths(QPlainTextEdit &box, int position, int added)
{
    const QTextDocument &document = *box.document();
    bool hasLongLine = false;
    for (QTextBlock block = document.findBlock(position);
         block.isValid() && block.position() <= position + added; block = block.next())
        hasLongLine = hasLongLine || block.length() > LongLineChars;
    const bool wholeText = position == 0 && added >= document.characterCount() - 1;
    if (hasLongLine)
        box.setWordWrapMode(QTextOption::WrapAnywhere);
    else if (wholeText)
        box.setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}
} // namespace

namespace {
// A paragraph's user state says what offsets need of it without reading its
// text: whether it goes on in the next paragraph without a line break (the
// lowest bit), and how many line separators it holds, each a line break of
// its own. Qt gives a new paragraph -1, read as neither.
constexpr int ContinuedLine = 1;

bool continues(const QTextBlock &block)
{
    return block.userState() > 0 && (block.userState() & ContinuedLine) != 0;
}

qsizetype separatorsIn(const QTextBlock &block)
{
    return qMax(0, block.userState()) >> 1;
}

void setState(QTextBlock block, qsizetype separators, bool continued)
{
    block.setUserState(static_cast<int>(separators << 1) | (continued ? ContinuedLine : 0));
}

void recount(const QTextBlock &block, bool continued)
{
    setState(block, block.text().count(QChar::LineSeparator), continued);
}

// At Open, the bytes are converted a slice at a time.
constexpr std::size_t SliceBytes = std::size_t{1} << 16;

// Where the slice from `start` ends: before a line break where one comes
// near its end, so that the short line after it is seen whole when it is
// placed in a paragraph, and never between the CR and LF of one line
// break. A slice without one ends inside a long line, which is cut anyway.
std::size_t sliceEnd(std::string_view stored, std::size_t start)
{
    const std::size_t end = start + SliceBytes;
    if (end >= stored.size())
        return stored.size();
    const std::size_t nearest = end - 2 * DescriptionEdit::ChunkChars;
    std::size_t lineBreak = stored.substr(nearest, end - nearest + 1).find_last_of("\r\n");
    if (lineBreak == std::string_view::npos)
        return end;
    lineBreak += nearest;
    if (stored[lineBreak] == '\n' && stored[lineBreak - 1] == '\r')
        --lineBreak;
    return lineBreak;
}
} // namespace

DescriptionEdit::DescriptionEdit(QWidget *parent) : QPlainTextEdit(parent)
{
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { followChange(position, added); });
}

DescriptionEdit::~DescriptionEdit() = default;

void DescriptionEdit::showStored(std::string_view stored)
{
    setPlainText(QString());
    QScopedValueRollback<bool> placing(m_placingMarks, true);
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (std::size_t start = 0; start < stored.size();) {
        const std::size_t end = sliceEnd(stored, start);
        insertLines(cursor, toQString(descriptionForBox(stored.substr(start, end - start))));
        start = end;
    }
    cursor.endEditBlock();
    moveCursor(QTextCursor::Start);
}

QString DescriptionEdit::textBetween(int from, int to) const
{
    QString text;
    text.reserve(qMax(0, to - from));
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        // Where the paragraph's end lies: the line break or the mark.
        const int blockEnd = block.position() + block.length() - 1;
        const int start = qMax(from, block.position());
        text +=
            QStringView(block.text()).sliced(start - block.position(), qMin(to, blockEnd) - start);
        if (to > blockEnd && !continues(block))
            text += u'\n';
    }
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

int DescriptionEdit::endPosition() const
{
    return document()->characterCount() - 1;
}

std::size_t DescriptionEdit::storedOffset(int position) const
{
    // Each character is a byte; each line break, a line separator or a
    // paragraph end, is two, and a marked paragraph end none.
    const QTextBlock target = document()->findBlock(position);
    qsizetype bytes = position;
    for (QTextBlock block = document()->firstBlock(); block != target; block = block.next())
        bytes += separatorsIn(block) + (continues(block) ? -1 : 1);
    bytes +=
        QStringView(target.text()).first(position - target.position()).count(QChar::LineSeparator);
    return static_cast<std::size_t>(bytes);
}

void DescriptionEdit::keyPressEvent(QKeyEvent *event)
{
    QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    const bool plainBackspace =
        event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier);
    // At a mark, Backspace and Delete take the character beyond it, which
    // the user sees next to the cursor.
    if (!isReadOnly() && !cursor.hasSelection()) {
        if (plainBackspace && cursor.atBlockStart() && continues(block.previous())) {
            cursor.movePosition(QTextCursor::PreviousCharacter);
            cursor.deletePreviousChar();
            setTextCursor(cursor);
            return;
        }
        if (event->matches(QKeySequence::Delete) && cursor.atBlockEnd() && continues(block)) {
            cursor.movePosition(QTextCursor::NextCharacter);
            cursor.deleteChar();
            return;
        }
    }
    // Shift+Enter ends the paragraph as Enter does: a route file has only
    // one kind of line break, so the box offers one.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & Qt::ShiftModifier)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->text(), event->isAutoRepeat(), static_cast<quint16>(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

QMimeData *DescriptionEdit::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    // As Qt's own copy gives it.
    auto *mimeData = new QMimeData;
    mimeData->setText(
        textBetween(cursor.selectionStart(), cursor.selectionEnd()).replace(QChar::Nbsp, u' '));
    return mimeData;
}

void DescriptionEdit::insertFromMimeData(const QMimeData *source)
{
    if (!source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QString text = source->text();
    text.replace(u"\r\n"_s, u"\n"_s);
    for (QChar &ch : text) {
        if (ch == u'\r' || ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator)
            ch = u'\n';
    }
    QTextCursor cursor = textCursor();
    insertLines(cursor, std::move(text));
    setTextCursor(cursor);
    ensureCursorVisible();
}

void DescriptionEdit::insertLines(QTextCursor &cursor, QString text)
{
    QScopedValueRollback<bool> placing(m_placingMarks, true);
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    // The paragraph's end, marked or not, comes after the inserted text.
    const bool endContinues = continues(cursor.block());
    // The first paragraph also holds the text before the cursor.
    bool first = true;
    qsizetype column = cursor.positionInBlock();
    qsizetype separators = 0;
    qsizetype runStart = 0;
    const auto endParagraph = [&](qsizetype end, bool continued) {
        if (end > runStart)
            cursor.insertText(text.sliced(runStart, end - runStart));
        cursor.insertBlock();
        const QTextBlock ended = cursor.block().previous();
        if (first)
            recount(ended, continued);
        else
            setState(ended, separators, continued);
        first = false;
        separators = 0;
        column = 0;
    };
    // A loop of its own: a call for each of millions of short lines costs
    // more than the search.
    const auto lineEndFrom = [&text](qsizetype from) {
        const QChar *chars = text.constData();
        while (from < text.size() && chars[from] != u'\n')
            ++from;
        return from;
    };
    for (qsizetype lineStart = 0, lineEnd = lineEndFrom(0);;) {
        // A line that does not fit is cut where the paragraph is full, never
        // between the two halves of a surrogate pair.
        for (qsizetype cut = lineStart + qMax<qsizetype>(0, ChunkChars - column); cut < lineEnd;) {
            if (text[cut].isLowSurrogate()) {
                ++cut;
                continue;
            }
            endParagraph(cut, true);
            runStart = cut;
            lineStart = cut;
            cut += ChunkChars;
        }
        column += lineEnd - lineStart;
        if (lineEnd == text.size())
            break;
        // Short lines share a paragraph, joined by line separators, so that
        // the box has few paragraphs whatever the lines' lengths.
        lineStart = lineEnd + 1;
        const qsizetype nextEnd = lineEndFrom(lineStart);
        if (column + 1 + (nextEnd - lineStart) > ChunkChars) {
            endParagraph(lineEnd, false);
            runStart = lineStart;
        } else {
            text[lineEnd] = QChar::LineSeparator;
            ++separators;
            ++column;
        }
        lineEnd = nextEnd;
    }
    if (text.size() > runStart)
        cursor.insertText(text.sliced(runStart));
    recount(cursor.block(), endContinues);
    cursor.endEditBlock();
}

// Qt gives a paragraph split by an edit its state, mark or not, to the
// first part, and the new parts none; the end it marks belongs to the last.
// Two paragraphs that an edit makes one keep the second's state, with its
// end. The line separators of each paragraph touched are counted again.
void DescriptionEdit::followChange(int position, int added)
{
    if (m_placingMarks)
        return;
    QTextBlock block = document()->findBlock(position);
    const QTextBlock last = document()->findBlock(qMin(position + added, endPosition()));
    const bool endContinues = continues(block);
    for (; block.isValid() && block != last; block = block.next())
        recount(block, false);
    recount(last, endContinues);
}

void setUpDescriptionBox(QPlainTextEdit &box)
{
    box.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab leaves the box for the button instead of typing a TAB.
    box.setTabChangesFocus(true);
    QObject::connect(
        box.document(), &QTextDocument::contentsChange, &box,
        [&box](int position, int, int added) { followLineLengths(box, position, added); });
}

QString descriptionBoxText(const DescriptionEdit &box)
{
    return box.textBetween(0, box.endPosition());
}

void leaveKeysToWindow(QPlainTextEdit &box, const QList<QKeySequence> &keys)
{
    box.setUndoRedoEnabled(false);
    box.installEventFilter(new KeyRelease(keys, &box));
}

} // namespace plenix
