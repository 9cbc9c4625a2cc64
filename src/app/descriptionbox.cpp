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
// The user state of a paragraph that goes on in the next without a line
// break.
constexpr int ContinuedLine = 1;
constexpr int LineEnd = -1;

// At Open, the bytes are converted a slice at a time.
constexpr std::size_t SliceBytes = std::size_t{1} << 20;
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
    m_mayHoldMarks = false;
    QScopedValueRollback<bool> placing(m_placingMarks, true);
    QTextCursor cursor(document());
    cursor.block().setUserState(LineEnd);
    cursor.beginEditBlock();
    for (std::size_t start = 0; start < stored.size();) {
        std::size_t end = std::min(stored.size(), start + SliceBytes);
        // A CR LF pair is one line break, so the two stay in one slice.
        if (end < stored.size() && stored[end - 1] == '\r')
            ++end;
        insertLines(cursor,
                    toQString(plenix::descriptionForBox(stored.substr(start, end - start))));
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
        if (to > blockEnd && block.userState() != ContinuedLine)
            text += u'\n';
    }
    return text;
}

int DescriptionEdit::endPosition() const
{
    return document()->characterCount() - 1;
}

std::size_t DescriptionEdit::storedOffset(int position) const
{
    const QTextBlock target = document()->findBlock(position);
    // Each paragraph end before the position is a CR LF or, when marked,
    // nothing.
    const qsizetype ends = target.blockNumber();
    qsizetype marks = 0;
    if (m_mayHoldMarks) {
        for (QTextBlock block = document()->firstBlock(); block != target; block = block.next())
            marks += block.userState() == ContinuedLine ? 1 : 0;
    }
    return static_cast<std::size_t>(position + ends - 2 * marks);
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
        if (plainBackspace && cursor.atBlockStart() &&
            block.previous().userState() == ContinuedLine) {
            cursor.movePosition(QTextCursor::PreviousCharacter);
            cursor.deletePreviousChar();
            setTextCursor(cursor);
            return;
        }
        if (event->matches(QKeySequence::Delete) && cursor.atBlockEnd() &&
            block.userState() == ContinuedLine) {
            cursor.movePosition(QTextCursor::NextCharacter);
            cursor.deleteChar();
            return;
        }
    }
    // Shift+Enter would break the line inside a paragraph; a route file has
    // only one kind of line break.
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
    QString text = textBetween(cursor.selectionStart(), cursor.selectionEnd());
    // As Qt's own copy gives it.
    for (QChar &ch : text) {
        if (ch == QChar::LineSeparator)
            ch = u'\n';
        else if (ch == QChar::Nbsp)
            ch = u' ';
    }
    auto *mimeData = new QMimeData;
    mimeData->setText(text);
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
    insertLines(cursor, text);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void DescriptionEdit::insertLines(QTextCursor &cursor, QStringView text)
{
    QScopedValueRollback<bool> placing(m_placingMarks, true);
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    // The paragraph's end comes after the inserted text.
    const int endState = cursor.block().userState();
    cursor.block().setUserState(LineEnd);
    qsizetype column = cursor.positionInBlock();
    qsizetype runStart = 0;
    const auto insertRun = [&](qsizetype end) {
        if (end > runStart)
            cursor.insertText(text.sliced(runStart, end - runStart).toString());
        runStart = end;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n') {
            column = 0;
            continue;
        }
        // Never between the two halves of a surrogate pair.
        if (column >= ChunkChars && !text[i].isLowSurrogate()) {
            insertRun(i);
            cursor.block().setUserState(ContinuedLine);
            cursor.insertBlock();
            m_mayHoldMarks = true;
            column = 0;
        }
        ++column;
    }
    insertRun(text.size());
    cursor.block().setUserState(endState);
    cursor.endEditBlock();
}

// Qt gives a paragraph split by an edit its state, mark or not, to the
// first part, and the new parts none; the end it marks belongs to the last.
void DescriptionEdit::followChange(int position, int added)
{
    if (m_placingMarks)
        return;
    QTextBlock block = document()->findBlock(position);
    QTextBlock last = document()->findBlock(qMin(position + added, endPosition()));
    if (block == last)
        return;
    const int endState = block.userState();
    for (; block.isValid() && block != last; block = block.next())
        block.setUserState(LineEnd);
    last.setUserState(endState);
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
    QString text = box.textBetween(0, box.endPosition());
    // Typed or pasted text never holds the line separator, but an input
    // method may commit one.
    for (QChar &ch : text) {
        if (ch == QChar::LineSeparator)
            ch = u'\n';
    }
    return text;
}

void leaveKeysToWindow(QPlainTextEdit &box, const QList<QKeySequence> &keys)
{
    box.setUndoRedoEnabled(false);
    box.installEventFilter(new KeyRelease(keys, &box));
}
