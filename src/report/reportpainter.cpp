// SPDX-License-Identifier: GPL-3.0-or-later
#include "reportpainter.h"

#include "profilechart.h"
#include "project/projectoutput.h"
#include "routedocument.h"
#include "routefileio.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>

using namespace Qt::StringLiterals;

namespace plenix {

namespace {

constexpr std::size_t Columns = RouteTable::DataCols + 1; // the row number first
// Shares of the table's width: row number, then the ten columns in order.
constexpr std::array<double, Columns> ColumnWeights{3, 4.5, 6, 7.5, 6, 26, 6.5, 7, 6, 6, 7.5};
const QColor Rule(0x99, 0x99, 0x99);
const QColor Faint(0xdd, 0xdd, 0xdd);
const QColor TextRowShade(0xf0, 0xf0, 0xf0);
const QColor StaleText(0x80, 0x80, 0x80);
// Darker than figures out of date, which are the only grey text.
const QColor LabelText(0x55, 0x55, 0x55);
const QColor CautionText(0xa0, 0x00, 0x00);
// A description longer than this is not printed whole: a report is for
// reading, and a page count in the hundreds serves nobody.
constexpr int MaxDescriptionPages = 20;
// More characters than twenty pages of one unbroken line hold.
constexpr qsizetype MaxDescriptionLineChars = 100'000;

QString text(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

// Characters of UTF-8 text: every byte but the continuation bytes.
qsizetype codePoints(std::string_view utf8)
{
    return qsizetype(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// The length in bytes of the first `count` characters of UTF-8 text.
std::size_t utf8Prefix(std::string_view utf8, qsizetype count)
{
    for (std::size_t i = 0; i < utf8.size(); ++i)
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80 && count-- == 0)
            return i;
    return utf8.size();
}

QFont fontOf(double points, bool bold = false, bool italic = false)
{
    QFont font(u"Sans Serif"_s);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    // No ligatures: a print path that turns the PDF into PostScript and back
    // loses what "ff" or "fi" stood for, and the text no longer reads as it
    // was written. Qt sets no ligature in spaced text; a fiftieth of a
    // device dot is no space to see.
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.02);
    return font;
}

// Lays the report out page by page. Run once to count the pages and once
// more to paint them, so that every footer can name the total.
class ReportLayout final
{
public:
    // With no painter it only counts the pages; with one it paints them,
    // each footer naming the count of the first run.
    ReportLayout(QPagedPaintDevice &device, QPainter *painter, int pageCount)
        : m_device(device), m_painter(painter), m_pageCount(pageCount),
          m_point(device.logicalDpiY() / 72.0)
    {
        // The device's paint area, with a margin of its own where the
        // device leaves none.
        const QMarginsF margins = device.pageLayout().margins(QPageLayout::Millimeter);
        const double dotsPerMm = device.logicalDpiX() / 25.4;
        const auto inset = [dotsPerMm](double given) {
            return std::max(0.0, 12 - given) * dotsPerMm;
        };
        m_page = QRectF(0, 0, device.width(), device.height())
                     .adjusted(inset(margins.left()), inset(margins.top()), -inset(margins.right()),
                               -inset(margins.bottom()));
        double left = m_page.left();
        const double total = std::accumulate(ColumnWeights.begin(), ColumnWeights.end(), 0.0);
        for (std::size_t col = 0; col < Columns; ++col) {
            const double width = m_page.width() * ColumnWeights[col] / total;
            m_columns[col] = {left, width};
            left += width;
        }
    }

    // A route's report, from a page of its own on. Returns the pages so far.
    int run(const RouteReport &report)
    {
        m_report = &report;
        m_printedAt = report.printedAt;
        m_subject =
            QCoreApplication::translate("Report", "Route: ") + pathText(report.content.routeName);
        m_file = report.content.path.empty()
                     ? QCoreApplication::translate("Report", "not saved to a file")
                     : pathText(report.content.path);
        startPage();
        writeFirstPage();
        writeTable();
        writeChart();
        return m_pageNumber;
    }

    // A project's title block and system summary, from a page of its own on.
    int run(const ProjectReport &report)
    {
        m_printedAt = report.printedAt;
        m_subject = QCoreApplication::translate("Report", "Project: ") + pathText(report.name);
        m_file = report.path.empty() ? QCoreApplication::translate("Report", "not saved to a file")
                                     : pathText(report.path);
        startPage();
        writeSignatureBlock(report.signature);
        writeHeading(u"Job"_s);
        const QFont body = fontOf(9);
        for (const auto &[label, value] : report.job)
            writeParagraph(text(label) + u": "_s + text(value), body, Qt::black);
        writeHeading(u"System"_s);
        for (std::size_t row = 0; row < report.summary.size(); ++row) {
            writeSummaryRow(report.summary[row],
                            fontOf(7.5, isSummaryEmphasis(report.summary, row)));
        }
        return m_pageNumber;
    }

private:
    bool painting() const { return m_painter != nullptr; }
    double pt(double points) const { return points * m_point; }
    double fontHeight(const QFont &font) const { return QFontMetricsF(font, &m_device).height(); }

    void startPage()
    {
        if (painting() && m_pageNumber > 0)
            m_device.newPage();
        ++m_pageNumber;
        const QFont title = fontOf(13, true);
        const QFont small = fontOf(8);
        const double headingHeight = fontHeight(title) + fontHeight(small) * 2 + pt(6);
        const double footerHeight = fontHeight(small) + pt(6);
        m_y = m_page.top() + headingHeight;
        m_bottom = m_page.bottom() - footerHeight;
        if (!painting())
            return;

        QPainter &p = *m_painter;
        double y = m_page.top();
        p.setPen(Qt::black);
        p.setFont(title);
        p.drawText(QRectF(m_page.left(), y, m_page.width(), fontHeight(title)),
                   Qt::AlignLeft | Qt::AlignVCenter, text(std::string(ReportTitle)));
        p.setFont(small);
        p.drawText(QRectF(m_page.left(), y, m_page.width(), fontHeight(title)),
                   Qt::AlignRight | Qt::AlignVCenter, m_printedAt.toString(u"yyyy-MM-dd HH:mm"_s));
        y += fontHeight(title);
        p.setFont(fontOf(8, true));
        p.drawText(QRectF(m_page.left(), y, m_page.width(), fontHeight(small)), Qt::AlignLeft,
                   m_subject);
        y += fontHeight(small);
        p.setFont(small);
        p.drawText(QRectF(m_page.left(), y, m_page.width(), fontHeight(small)), Qt::AlignLeft,
                   QFontMetricsF(small, &m_device)
                       .elidedText(QCoreApplication::translate("Report", "File: ") + m_file,
                                   Qt::ElideMiddle, m_page.width()));
        y += fontHeight(small) + pt(2);
        p.setPen(QPen(Rule, pt(0.5)));
        p.drawLine(QPointF(m_page.left(), y), QPointF(m_page.right(), y));
        p.setPen(Qt::black);
        p.drawText(QRectF(m_page.left(), m_bottom + pt(4), m_page.width(), fontHeight(small)),
                   Qt::AlignHCenter,
                   QCoreApplication::translate("Report", "Page %1 of %2")
                       .arg(m_pageNumber)
                       .arg(std::max(m_pageCount, m_pageNumber)));
    }

    // A paragraph wrapped to the page's width, each line on whatever page it
    // falls; a run without spaces is broken anywhere rather than run off the
    // page. Lines that would start a page past `lastPage` are left out;
    // returns how many characters were written.
    qsizetype writeParagraph(const QString &paragraph, const QFont &font, const QColor &color,
                             int lastPage = std::numeric_limits<int>::max())
    {
        QTextLayout layout(paragraph, font, &m_device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
            line.setLineWidth(m_page.width());
        layout.endLayout();
        for (int i = 0; i < std::max(layout.lineCount(), 1); ++i) {
            const double height = fontHeight(font);
            if (m_y + height > m_bottom) {
                if (m_pageNumber >= lastPage)
                    return layout.lineAt(i).textStart();
                startPage();
            }
            if (painting() && i < layout.lineCount()) {
                const QTextLine line = layout.lineAt(i);
                m_painter->setFont(font);
                m_painter->setPen(color);
                m_painter->drawText(QPointF(m_page.left(), m_y + line.ascent()),
                                    paragraph.mid(line.textStart(), line.textLength()));
            }
            m_y += height;
        }
        return paragraph.size();
    }

    // The description, on at most MaxDescriptionPages pages, and then a note
    // of what was left out. A line longer than those pages could hold is cut
    // before it is laid out, which keeps a description of any size quick.
    void writeDescription(const std::vector<std::string> &lines, const QFont &font)
    {
        const int lastPage = m_pageNumber + MaxDescriptionPages - 1;
        std::size_t line = 0;
        qsizetype leftOut = 0; // characters, one stored byte each
        qsizetype written = 0;
        for (; line < lines.size(); ++line) {
            const std::string_view whole = lines[line];
            const QString shown =
                QString::fromUtf8(whole.substr(0, utf8Prefix(whole, MaxDescriptionLineChars)));
            written = writeParagraph(shown, font, Qt::black, lastPage);
            const qsizetype length = codePoints(whole);
            if (written < length) {
                leftOut += length - written;
                break;
            }
        }
        if (line == lines.size())
            return;
        // The line cut short counts as left out when none of it was printed.
        const std::size_t linesLeft = lines.size() - line - (written > 0 ? 1 : 0);
        for (std::size_t rest = line + 1; rest < lines.size(); ++rest)
            leftOut += codePoints(lines[rest]) + 2; // and its CR LF
        writeParagraph(QCoreApplication::translate("Report",
                                                   "(The rest of the description is not printed: "
                                                   "%1 more bytes, %2 more lines.)")
                           .arg(leftOut)
                           .arg(linesLeft),
                       fontOf(9, false, true), Qt::black);
    }

    void writeHeading(const QString &heading)
    {
        const QFont font = fontOf(10, true);
        if (m_y + fontHeight(font) * 3 > m_bottom)
            startPage();
        m_y += pt(4);
        writeParagraph(heading, font, Qt::black);
    }

    // Four boxes across the document's first page: filled from a project's
    // job, and left blank on a route's report, to be signed by hand.
    void writeSignatureBlock(const std::array<std::string, 4> &values)
    {
        const std::array<QString, 4> labels{QCoreApplication::translate("Report", "Prepared by"),
                                            QCoreApplication::translate("Report", "Checked by"),
                                            QCoreApplication::translate("Report", "Date"),
                                            QCoreApplication::translate("Report", "Revision")};
        const QFont label = fontOf(7);
        const QFont value = fontOf(9);
        const double height = fontHeight(label) + fontHeight(value) + pt(12);
        const double width = m_page.width() / double(labels.size());
        m_y += pt(4);
        for (std::size_t i = 0; painting() && i < labels.size(); ++i) {
            const QRectF box(m_page.left() + width * double(i), m_y, width, height);
            QPainter &p = *m_painter;
            p.setPen(QPen(Rule, pt(0.5)));
            p.drawRect(box);
            const QRectF inside = box.adjusted(pt(3), pt(2), -pt(3), -pt(2));
            p.setPen(LabelText);
            p.setFont(label);
            p.drawText(inside, Qt::AlignLeft | Qt::AlignTop, labels[i]);
            p.setPen(Qt::black);
            p.setFont(value);
            p.drawText(inside.adjusted(0, fontHeight(label), 0, 0), Qt::AlignLeft | Qt::AlignTop,
                       QFontMetricsF(value, &m_device)
                           .elidedText(text(values[i]), Qt::ElideRight, inside.width()));
        }
        m_y += height + pt(2);
    }

    void writeFirstPage()
    {
        // A route printed on its own is a document of its own; within a
        // project, the project's first page has the block.
        if (m_pageNumber == 1)
            writeSignatureBlock({});
        const ReportContent &content = m_report->content;
        if (content.outOfDate) {
            m_y += pt(2);
            writeParagraph(text(std::string(OutOfDateCaution)), fontOf(11, true), CautionText);
        }
        const QFont body = fontOf(9);
        writeHeading(QCoreApplication::translate("Report", "Description"));
        if (content.descriptionLines.empty())
            writeParagraph(QCoreApplication::translate("Report", "(none)"), fontOf(9, false, true),
                           Qt::black);
        writeDescription(content.descriptionLines, body);
        writeHeading(QCoreApplication::translate("Report", "Units and constants"));
        for (const std::string &line : content.constants)
            writeParagraph(text(line), body, Qt::black);
        if (!content.fittings.empty()) {
            writeHeading(QCoreApplication::translate("Report", "Fittings"));
            for (const std::string &line : content.fittings)
                writeParagraph(text(line), body, Qt::black);
        }
    }

    // The cell texts of a row, the row number first.
    static std::array<QString, Columns> rowTexts(const ReportRow &row)
    {
        std::array<QString, Columns> texts;
        texts[0] = QString::number(row.number);
        for (std::size_t col = 1; col < Columns; ++col)
            texts[col] = text(row.cells[col - 1]);
        return texts;
    }

    // Where a cell's text goes: a text row's description runs on over the
    // empty cells that follow it.
    QRectF cellRect(std::size_t col, std::size_t span, double y, double height) const
    {
        const double right = m_columns[col + span - 1].first + m_columns[col + span - 1].second;
        // Text keeps clear of the number to its left.
        const double left = col == RouteTable::ColDescription ? pt(5) : pt(1.5);
        return QRectF(m_columns[col].first, y, right - m_columns[col].first, height)
            .adjusted(left, pt(1), -pt(1.5), -pt(1));
    }

    static std::size_t spanOf(const ReportRow &row, const std::array<QString, Columns> &texts,
                              std::size_t col)
    {
        if (row.kind != ReportRowKind::Text || col != RouteTable::ColDescription)
            return 1;
        std::size_t span = 1;
        while (col + span < Columns && texts[col + span].isEmpty())
            ++span;
        return span;
    }

    static int flagsOf(std::size_t col)
    {
        const bool number = col == 0 || isNumberColumn(static_cast<int>(col));
        return int(number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop;
    }

    // A cell's text in lines of its column's width: broken at blanks and
    // after hyphens, and inside a word only where the word alone is wider
    // than the column.
    QStringList cellLines(const QString &text, const QFont &font, double width) const
    {
        QTextLayout layout(text, font, &m_device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        QStringList lines;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << text.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
        return lines;
    }

    double rowHeight(const std::array<QString, Columns> &texts, const ReportRow *row,
                     const QFont &font) const
    {
        const QFontMetricsF metrics(font, &m_device);
        double height = metrics.height();
        for (std::size_t col = 0; col < Columns;) {
            const std::size_t span = row ? spanOf(*row, texts, col) : 1;
            const QRectF room = cellRect(col, span, 0, 1e9);
            height = std::max(
                height,
                row ? double(cellLines(texts[col], font, room.width()).size()) * metrics.height()
                    : metrics.boundingRect(room, Qt::AlignHCenter | Qt::TextWordWrap, texts[col])
                          .height());
            col += span;
        }
        return height + pt(2);
    }

    // A line of the system summary: its texts in the summary's columns, the
    // first two wider for names and take-offs.
    void writeSummaryRow(const std::vector<std::string> &cells, const QFont &font)
    {
        static constexpr std::array<double, 9> weights{18, 20, 9, 9, 9, 9, 8, 9, 9};
        const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
        std::vector<QRectF> rooms;
        double left = m_page.left();
        double height = fontHeight(font);
        for (std::size_t col = 0; col < cells.size() && col < weights.size(); ++col) {
            const double width = m_page.width() * weights[col] / total;
            rooms.emplace_back(left + pt(1.5), 0, width - pt(3), 1e9);
            height = std::max(height, QFontMetricsF(font, &m_device)
                                          .boundingRect(rooms.back(), flags, text(cells[col]))
                                          .height());
            left += width;
        }
        height += pt(2);
        if (m_y + height > m_bottom)
            startPage();
        if (painting()) {
            m_painter->setFont(font);
            m_painter->setPen(Qt::black);
            for (std::size_t col = 0; col < rooms.size(); ++col)
                m_painter->drawText(
                    rooms[col].translated(0, m_y + pt(1)).adjusted(0, 0, 0, -1e9 + height), flags,
                    text(cells[col]));
        }
        m_y += height;
    }

    void writeTableHeader()
    {
        const QFont font = fontOf(7.5, true);
        std::array<QString, Columns> texts;
        texts[0] = u"Row"_s;
        // A unit such as "L/s" stays whole; the line breaks after the comma.
        for (std::size_t col = 1; col < Columns; ++col)
            texts[col] = text(m_report->content.headers[col - 1]).replace(u'/', u"/\u2060"_s);
        const double height = rowHeight(texts, nullptr, font);
        if (painting()) {
            QPainter &p = *m_painter;
            p.setFont(font);
            p.setPen(Qt::black);
            for (std::size_t col = 0; col < Columns; ++col)
                p.drawText(cellRect(col, 1, m_y, height), Qt::AlignHCenter | Qt::TextWordWrap,
                           texts[col]);
            p.setPen(QPen(Rule, pt(0.75)));
            p.drawLine(QPointF(m_page.left(), m_y + height), QPointF(m_page.right(), m_y + height));
        }
        m_y += height;
    }

    void writeRow(const ReportRow &row)
    {
        const bool textRow = row.kind == ReportRowKind::Text;
        const QFont font = fontOf(7.5, false, textRow);
        const std::array<QString, Columns> texts = rowTexts(row);
        // A duct run's further figures go on a small line of their own.
        const QFont figuresFont = fontOf(6.5, false, true);
        const double figuresHeight = row.figures.empty() ? 0 : fontHeight(figuresFont);
        const double height = rowHeight(texts, &row, font) + figuresHeight;
        if (m_y + height > m_bottom) {
            startPage();
            writeTableHeader();
        }
        if (painting()) {
            QPainter &p = *m_painter;
            const QRectF band(m_page.left(), m_y, m_page.width(), height);
            if (textRow)
                p.fillRect(band, TextRowShade);
            for (std::size_t col = 0; col < Columns;) {
                const std::size_t span = spanOf(row, texts, col);
                const bool stale = row.stale && isResultColumn(static_cast<int>(col));
                p.setFont(stale ? fontOf(7.5, false, true) : font);
                p.setPen(stale ? StaleText : QColor(Qt::black));
                const QRectF cell = cellRect(col, span, m_y, height);
                const double lineHeight = fontHeight(font);
                double y = cell.top();
                for (const QString &line : cellLines(texts[col], font, cell.width())) {
                    p.drawText(QRectF(cell.left(), y, cell.width(), lineHeight), flagsOf(col),
                               line);
                    y += lineHeight;
                }
                col += span;
            }
            if (!row.figures.empty()) {
                p.setFont(figuresFont);
                p.setPen(LabelText);
                const QRectF line(cellRect(1, Columns - 1, m_y, height).left(),
                                  m_y + height - figuresHeight - pt(1),
                                  m_page.right() - cellRect(1, 1, m_y, height).left(),
                                  figuresHeight);
                p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, text(row.figures));
            }
            p.setPen(QPen(Faint, pt(0.4)));
            p.drawLine(band.bottomLeft(), band.bottomRight());
        }
        m_y += height;
    }

    void writeTable()
    {
        writeHeading(u"Route"_s);
        writeTableHeader();
        for (const ReportRow &row : m_report->content.rows)
            writeRow(row);
        const ReportContent &content = m_report->content;
        const QString total =
            content.rows.empty() ? QCoreApplication::translate("Report", "Route total: no rows")
            : content.total.empty()
                ? QCoreApplication::translate("Report", "Route total: not calculated")
                : QCoreApplication::translate("Report", "Route total: %1 %2")
                      .arg(text(content.total), text(content.pressureUnit));
        m_y += pt(3);
        writeParagraph(total, fontOf(10, true), content.outOfDate ? StaleText : Qt::black);
    }

    void writeChart()
    {
        // At least 45% of a page, up to 60% where the page has room; a page
        // of its own when what is left is less.
        const double page = m_bottom - m_page.top();
        m_y += pt(8);
        if (m_y + page * 0.45 > m_bottom)
            startPage();
        const double height = std::min(page * 0.6, m_bottom - m_y);
        if (painting()) {
            paintProfileChart(*m_painter, QRectF(m_page.left(), m_y, m_page.width(), height),
                              m_report->profile, m_report->profileAxis, m_device.logicalDpiX());
        }
        m_y += height;
    }

    QPagedPaintDevice &m_device;
    QPainter *m_painter;
    const RouteReport *m_report = nullptr;
    QString m_subject;
    QString m_file;
    QDateTime m_printedAt;
    int m_pageCount;
    double m_point;
    QRectF m_page;
    std::array<std::pair<double, double>, Columns> m_columns{};
    int m_pageNumber = 0;
    double m_y = 0;
    double m_bottom = 0;
};

} // namespace

RouteReport routeReport(const RouteDocument &document, const QDateTime &printedAt)
{
    return {reportContent(document), pressureProfile(document.table(), document.method().units),
            ProfileAxis::Row, printedAt};
}

namespace {

// Lays the parts out once to count the pages, then paints them.
template <typename Parts> int paintParts(QPagedPaintDevice &device, const Parts &runParts)
{
    ReportLayout counting(device, nullptr, 0);
    const int pages = runParts(counting);
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    painter.setRenderHint(QPainter::Antialiasing);
    ReportLayout painting(device, &painter, pages);
    runParts(painting);
    return painter.end() ? pages : 0;
}

} // namespace

int paintReport(QPagedPaintDevice &device, const RouteReport &report)
{
    return paintParts(device, [&report](ReportLayout &layout) { return layout.run(report); });
}

ProjectReport projectReport(const Project &project, const SystemFigures &system,
                            const std::string &path, const QDateTime &printedAt)
{
    ProjectReport report;
    report.name = fileNameFromPath(path);
    report.path = path;
    report.printedAt = printedAt;
    const JobInfo &job = project.job;
    report.job = {{"Project", job.name},      {"Job number", job.number}, {"Client", job.client},
                  {"Location", job.location}, {"Designer", job.designer}, {"Checker", job.checker},
                  {"Date", job.date},         {"Revision", job.revision}, {"Notes", job.notes}};
    report.signature = {job.designer, job.checker, job.date, job.revision};
    for (const ProjectRoute &route : project.routes) {
        RouteReport part = routeReport(*route.document, printedAt);
        part.content.routeName = route.name;
        part.content.path = path;
        report.routes.push_back(std::move(part));
    }
    report.summary = systemSummaryRows(project, system);
    return report;
}

int paintProjectReport(QPagedPaintDevice &device, const ProjectReport &report)
{
    return paintParts(device, [&report](ReportLayout &layout) {
        int pages = layout.run(report);
        for (const RouteReport &route : report.routes)
            pages = layout.run(route);
        return pages;
    });
}

} // namespace plenix
