// SPDX-License-Identifier: GPL-3.0-or-later
// What the grid shows over the texts: results out of date until Calculate,
// doubtful inputs, and the tooltip of a cell that has something to say.
#include "apptest.h"

#include <QHelpEvent>
#include <QToolTip>

using namespace Qt::StringLiterals;

class MarksTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;

private Q_SLOTS:
    void init() { QVERIFY(m_app.open()); }
    void cleanup()
    {
        QToolTip::hideText();
        m_app.finish();
    }

    // A flow typed into row 2 greys the results of rows 2 and 3 until Enter.
    void stale_results_until_calculate()
    {
        m_app.setCell(1, 2, u"1000"_s);
        m_app.setCell(1, 3, u"12"_s);
        m_app.setCell(1, 4, u"100"_s);
        m_app.setCell(2, 4, u"50"_s);
        m_app.setCell(3, 4, u"20"_s);
        QTest::keyClick(m_app.grid, Qt::Key_Return);
        m_app.typeAt(2, 2, u"9"_s);
        // "stale" when grey, italic and explained, "plain" when none of these.
        const auto look = [this](int row) {
            const QModelIndex cell = m_app.index(row, 10);
            const int marks = int(cell.data(Qt::ForegroundRole).isValid()) +
                              int(cell.data(Qt::FontRole).value<QFont>().italic()) +
                              int(!cell.data(Qt::ToolTipRole).toString().isEmpty());
            return marks == 3 ? u"stale"_s : marks == 0 ? u"plain"_s : u"mixed"_s;
        };
        QCOMPARE(QStringList({look(1), look(2), look(3), look(4)}).join(u' '),
                 u"plain stale stale plain"_s);
        QTest::keyClick(m_app.grid, Qt::Key_Return);
        QCOMPARE(look(2) + u' ' + look(3), u"plain plain"_s);
    }

    void tooltips_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");     // written into row 2
        QTest::addColumn<QString>("typed");    // then typed into it
        QTest::addColumn<QString>("expected"); // empty: the grid's own hint
        const QString longText = u"Elbow 90 deg 18.75 in clr, then the rest of a long note"_s;
        QTest::newRow("a short description") << 5 << u"abc"_s << QString() << QString();
        QTest::newRow("a text cut short") << 5 << longText << QString() << longText;
        QTest::newRow("a giant text")
            << 5 << QString(5000, u'x') << QString() << QString(2000, u'x') + QChar(0x2026);
        QTest::newRow("a plain flow") << 2 << u"1200"_s << QString() << QString();
        QTest::newRow("a flow with a unit") << 2 << u"12in"_s << QString() << u"Reads as 12"_s;
        QTest::newRow("a minus typed")
            << 2 << QString() << u"-1200"_s << u"Reads as 1200\nTyped but left out: -"_s;
    }

    // The tooltip of a cell: its mark, or the whole of a text its column
    // cuts short; a doubtful input is tinted too.
    void tooltips()
    {
        QFETCH(int, col);
        QFETCH(QString, text);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        m_app.setCell(2, col, text);
        m_app.typeAt(2, col, typed);
        const QPoint pos = m_app.cellPoint(2, col);
        QHelpEvent help(QEvent::ToolTip, pos, m_app.grid->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(m_app.grid->viewport(), &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), expected.isEmpty() ? m_app.grid->toolTip() : expected);
        QCOMPARE(m_app.index(2, col).data(Qt::BackgroundRole).isValid(),
                 expected.startsWith(u"Reads as"_s));
    }
};

APPTEST_MAIN(MarksTest)
#include "tst_app_marks.moc"
