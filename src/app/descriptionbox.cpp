// SPDX-License-Identifier: GPL-3.0-or-later
#include "descriptionbox.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

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

void setUpDescriptionBox(QPlainTextEdit &box)
{
    box.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab leaves the box for the button instead of typing a TAB.
    box.setTabChangesFocus(true);
    QObject::connect(
        box.document(), &QTextDocument::contentsChange, &box,
        [&box](int position, int, int added) { followLineLengths(box, position, added); });
}

QString descriptionBoxText(const QPlainTextEdit &box)
{
    QString text = box.document()->toRawText();
    // The document keeps its own marks between lines; Shift+Enter gives the
    // line separator.
    for (QChar &ch : text) {
        if (ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator)
            ch = u'\n';
    }
    return text;
}

void leaveKeysToWindow(QPlainTextEdit &box, const QList<QKeySequence> &keys)
{
    box.setUndoRedoEnabled(false);
    box.installEventFilter(new KeyRelease(keys, &box));
}
