// The proportional layout: the five controls keep their design shares of the
// client area (below the menu bar) through resizing, maximising,
// minimising and restoring, and come back to the same pixels.
#include "apptest.h"

#include "layouttable.h"

#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {
struct Share
{
    const char *name;
    double left, top, width, height;
};

// The design geometry over the design client area of 15240 by 8610 twips.
constexpr std::array<Share, 5> DesignShares{{
    {"cmdCalculate", 0.7466, 0.0557, 0.0876, 0.0714},
    {"grdList", 0.0630, 0.2091, 0.9144, 0.7404},
    {"txtDescription", 0.2501, 0.0279, 0.4577, 0.1272},
    {"lblItems", 0.0128, 0.5157, 0.0404, 0.2108},
    {"lblDescription", 0.1659, 0.0418, 0.0748, 0.1132},
}};
} // namespace

class LayoutTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;

    QWidget *client() const { return m_app.window->centralWidget(); }
    QWidget *control(const char *name) const
    {
        return m_app.window->findChild<QWidget *>(QLatin1String(name));
    }
    QList<QRect> geometries() const
    {
        QList<QRect> result;
        for (const Share &share : DesignShares)
            result << control(share.name)->geometry();
        return result;
    }
    // Every control at its share of the client area, to the pixel.
    void verifyShares()
    {
        const QSize size = client()->size();
        for (const Share &share : DesignShares) {
            const QRect g = control(share.name)->geometry();
            const auto near = [](int actual, double expected) {
                return qAbs(actual - expected) <= 1.5;
            };
            QVERIFY2(near(g.left(), share.left * size.width()) &&
                         near(g.top(), share.top * size.height()) &&
                         near(g.width(), share.width * size.width()) &&
                         near(g.height(), share.height * size.height()),
                     qPrintable(u"%1 at %2,%3 %4x%5 in %6x%7"_s.arg(QLatin1String(share.name))
                                    .arg(g.left())
                                    .arg(g.top())
                                    .arg(g.width())
                                    .arg(g.height())
                                    .arg(size.width())
                                    .arg(size.height())));
        }
    }

private Q_SLOTS:
    void init() { QVERIFY(m_app.open()); }
    void cleanup()
    {
        QVERIFY2(m_app.guard.unexpected.isEmpty(),
                 qPrintable(m_app.guard.unexpected.join(u"; "_s)));
        m_app.close();
    }

    void shares_are_recorded_from_the_design()
    {
        const LayoutTable &layout = m_app.window->layoutTable();
        QCOMPARE(layout.size(), DesignShares.size());
        for (std::size_t i = 0; i < DesignShares.size(); ++i) {
            const plenix::ControlRatios ratios = layout.ratios(i);
            QVERIFY(qAbs(ratios.LeftRatio - DesignShares[i].left) < 5e-5);
            QVERIFY(qAbs(ratios.TopRatio - DesignShares[i].top) < 5e-5);
            QVERIFY(qAbs(ratios.WidthRatio - DesignShares[i].width) < 5e-5);
            QVERIFY(qAbs(ratios.HeightRatio - DesignShares[i].height) < 5e-5);
        }
    }

    // The client area is what lies below the menu bar.
    void layout_fills_the_client_area_at_start()
    {
        QVERIFY(client()->geometry().top() >= m_app.window->menuBar()->geometry().bottom());
        QCOMPARE(client()->width(), m_app.window->width());
        verifyShares();
        // The grid is as wide as its share, not as the column widths ask.
        QVERIFY(qAbs(m_app.grid->width() - 0.9144 * client()->width()) <= 1.5);
    }

    void resize_and_back_gives_the_same_pixels_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("smaller") << QSize(700, 420);
        QTest::newRow("wider") << QSize(780, 300);
        QTest::newRow("tiny") << QSize(120, 90);
    }

    void resize_and_back_gives_the_same_pixels()
    {
        QFETCH(QSize, size);
        const QSize original = m_app.window->size();
        const QList<QRect> before = geometries();
        for (int round = 0; round < 3; ++round) {
            m_app.window->resize(size);
            QTRY_COMPARE(m_app.window->size(), size);
            verifyShares();
            QVERIFY(geometries() != before);
            m_app.window->resize(original);
            QTRY_COMPARE(m_app.window->size(), original);
            QCOMPARE(geometries(), before);
        }
    }

    void maximise_and_restore()
    {
        const QRect normal = m_app.window->geometry();
        const QList<QRect> before = geometries();
        m_app.window->showMaximized();
        QTRY_VERIFY(m_app.window->isMaximized());
        QTRY_VERIFY(m_app.window->width() > normal.width());
        verifyShares();
        QVERIFY(geometries() != before);
        m_app.window->showNormal();
        QTRY_VERIFY(!m_app.window->isMaximized());
        QTRY_COMPARE(m_app.window->geometry(), normal);
        QCOMPARE(geometries(), before);
    }

    void minimise_and_restore()
    {
        const QList<QRect> before = geometries();
        m_app.window->showMinimized();
        QTRY_VERIFY(m_app.window->isMinimized());
        m_app.window->showNormal();
        QTRY_VERIFY(!m_app.window->isMinimized());
        QTRY_COMPARE(geometries(), before);
    }

    // A minimised window may report an empty or nonsensical client area:
    // the controls shrink to nothing at the corner, never below.
    void empty_client_area_gives_no_negative_sizes_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("zero") << QSize(0, 0);
        QTest::newRow("negative") << QSize(-160, -40);
    }

    void empty_client_area_gives_no_negative_sizes()
    {
        QFETCH(QSize, size);
        const QList<QRect> before = geometries();
        m_app.window->layoutTable().apply(size);
        for (const QRect &g : geometries()) {
            QCOMPARE(g.topLeft(), QPoint(0, 0));
            QCOMPARE(g.size(), QSize(0, 0));
        }
        // The next size change lays them out again.
        m_app.window->resize(m_app.window->size() + QSize(1, 1));
        m_app.window->resize(m_app.window->size() - QSize(1, 1));
        QTRY_COMPARE(geometries(), before);
    }

    void neighbours_do_not_overlap()
    {
        for (const QSize size : {QSize(640, 400), QSize(1000, 700), QSize(333, 222)}) {
            m_app.window->resize(size);
            QTRY_COMPARE(m_app.window->size(), size);
            QVERIFY(control("lblItems")->geometry().right() < m_app.grid->geometry().left());
            QVERIFY(control("lblDescription")->geometry().right() <
                    control("txtDescription")->geometry().left());
            QVERIFY(control("txtDescription")->geometry().right() <
                    control("cmdCalculate")->geometry().left());
            QVERIFY(control("txtDescription")->geometry().bottom() < m_app.grid->geometry().top());
        }
    }
};

APPTEST_MAIN(LayoutTest)
#include "tst_app_layout.moc"
