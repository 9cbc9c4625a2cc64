#include "descriptionbox.h"

#include <QPlainTextEdit>
#include <QTextDocument>

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
