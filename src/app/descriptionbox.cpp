#include "descriptionbox.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
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
} // namespace

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
