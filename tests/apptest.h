#pragma once

// Shared by the window tests.

#include "dialogs.h"

#include <QList>
#include <QString>
#include <QTest>

#include <optional>

// Stands in for the program's modal dialogs while it lives, and records every
// message box the program asked for instead of showing it.
class RecordingDialogs final : public Dialogs
{
public:
    struct Shown
    {
        enum Kind
        {
            Information,
            Message
        } kind;
        QString title;
        QString text;
    };

    RecordingDialogs() { Dialogs::setInstance(this); }
    ~RecordingDialogs() override { Dialogs::setInstance(nullptr); }
    Q_DISABLE_COPY_MOVE(RecordingDialogs)

    void information(QWidget *, const QString &title, const QString &text) override
    {
        shown.append({Shown::Information, title, text});
    }
    void message(QWidget *, const QString &title, const QString &text) override
    {
        shown.append({Shown::Message, title, text});
    }
    std::optional<QString> askText(QWidget *, const QString &, const QString &label,
                                   const QString &) override
    {
        QTest::qFail(qPrintable(QStringLiteral("unexpected prompt: ") + label), __FILE__, __LINE__);
        return std::nullopt;
    }
    QString openFileName(QWidget *, const QString &title, const QString &, const QString &) override
    {
        QTest::qFail(qPrintable(QStringLiteral("unexpected file dialog: ") + title), __FILE__,
                     __LINE__);
        return {};
    }
    QString saveFileName(QWidget *, const QString &title, const QString &, const QString &) override
    {
        QTest::qFail(qPrintable(QStringLiteral("unexpected file dialog: ") + title), __FILE__,
                     __LINE__);
        return {};
    }

    QList<Shown> shown;
};
