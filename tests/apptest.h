#pragma once

// Shared by the window tests: dialogs answered without a person, and the
// offscreen platform when none is set.
#include "dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTest>

#include <optional>

// Records every dialog asked for and answers the file dialogs from a queue;
// an empty queue answers as a cancel.
class FakeDialogs final : public Dialogs
{
public:
    struct Shown
    {
        QString kind; // "information", "message", "askText", "open", "save"
        QString title;
        QString text; // message text, prompt label or file filter
        QString initial;
    };

    FakeDialogs() { Dialogs::setInstance(this); }
    ~FakeDialogs() override { Dialogs::setInstance(nullptr); }
    Q_DISABLE_COPY_MOVE(FakeDialogs)

    void information(QWidget *, const QString &title, const QString &text) override
    {
        shown.append({QStringLiteral("information"), title, text, {}});
    }
    void message(QWidget *, const QString &title, const QString &text) override
    {
        shown.append({QStringLiteral("message"), title, text, {}});
    }
    std::optional<QString> askText(QWidget *, const QString &title, const QString &label,
                                   const QString &initial) override
    {
        shown.append({QStringLiteral("askText"), title, label, initial});
        if (replies.isEmpty())
            return std::nullopt;
        return replies.takeFirst();
    }
    QString openFileName(QWidget *, const QString &title, const QString &filter,
                         const QString &initialName) override
    {
        shown.append({QStringLiteral("open"), title, filter, initialName});
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }
    QString saveFileName(QWidget *, const QString &title, const QString &filter,
                         const QString &initialName) override
    {
        shown.append({QStringLiteral("save"), title, filter, initialName});
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }

    // The texts of the message boxes shown so far.
    QStringList messages() const
    {
        QStringList texts;
        for (const Shown &box : shown) {
            if (box.kind == u"message" || box.kind == u"information")
                texts.append(box.text);
        }
        return texts;
    }

    QStringList fileNames;
    QStringList replies;
    QList<Shown> shown;
};
