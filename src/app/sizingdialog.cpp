// SPDX-License-Identifier: GPL-3.0-or-later
#include "sizingdialog.h"

#include "numbertext.h"
#include "textcodec.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace plenix {

namespace {

// An empty field is no limit; a field that does not read is a fault.
std::optional<std::optional<double>> limitIn(const QLineEdit &edit)
{
    const QString text = edit.text().trimmed();
    if (text.isEmpty())
        return std::optional<double>();
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return std::optional<double>(value);
}

} // namespace

SizeDuctsDialog::SizeDuctsDialog(const SizingRequest &request, QWidget *parent)
    : QDialog(parent), m_request(request), flowEdit(new QLineEdit(this)),
      rateEdit(new QLineEdit(this)), velocityEdit(new QLineEdit(this)),
      heightEdit(new QLineEdit(this)), shapeBox(new QComboBox(this)),
      proposalTable(new QTableWidget(this)), problemLabel(new QLabel(this)),
      buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("Size Ducts"));
    // Room for the four columns of proposals, their units spelled out.
    setMinimumWidth(fontMetrics().averageCharWidth() * 72);
    const units::System system = request.settings.units;
    flowEdit->setObjectName(QStringLiteral("flowEdit"));
    rateEdit->setObjectName(QStringLiteral("rateEdit"));
    velocityEdit->setObjectName(QStringLiteral("velocityEdit"));
    heightEdit->setObjectName(QStringLiteral("heightEdit"));
    shapeBox->setObjectName(QStringLiteral("shapeBox"));
    proposalTable->setObjectName(QStringLiteral("proposalTable"));
    problemLabel->setObjectName(QStringLiteral("problemLabel"));
    buttons->setObjectName(QStringLiteral("buttons"));
    flowEdit->setText(request.flow > 0 ? QString::fromStdString(shortText(request.flow, 10))
                                       : QString());
    // A common design friction rate to start from: 0.1 in wg/100 ft, 1 Pa/m.
    rateEdit->setText(system == units::System::InchPound ? QStringLiteral("0.1")
                                                         : QStringLiteral("1"));
    shapeBox->addItem(tr("Round"));
    shapeBox->addItem(tr("Rectangular"));
    shapeBox->setEnabled(request.shapes);
    heightEdit->setEnabled(request.shapes);
    proposalTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    proposalTable->verticalHeader()->hide();
    proposalTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    proposalTable->horizontalHeader()->setStretchLastSection(true);
    proposalTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    proposalTable->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    problemLabel->setWordWrap(true);

    auto *layout = new QFormLayout(this);
    layout->addRow(
        tr("&Flow, %1:").arg(QString::fromStdString(method::flowSymbol(request.settings))),
        flowEdit);
    layout->addRow(
        tr("F&riction rate at most, %1:").arg(unitText(units::Quantity::FrictionRate, system)),
        rateEdit);
    layout->addRow(tr("&Velocity at most, %1:").arg(unitText(units::Quantity::Velocity, system)),
                   velocityEdit);
    layout->addRow(tr("Rectangle &height, %1:").arg(unitText(units::Quantity::Size, system)),
                   heightEdit);
    layout->addRow(tr("&Shape to apply:"), shapeBox);
    layout->addRow(proposalTable);
    auto *note = new QLabel(tr("Sizes are worked out by Darcy-Colebrook with the project's "
                               "material and air. Each duct run selected gets the size for its "
                               "own flow."),
                            this);
    note->setWordWrap(true);
    layout->addRow(note);
    layout->addRow(problemLabel);
    layout->addRow(buttons);
    buttons->button(QDialogButtonBox::Ok)
        ->setText(request.firstRow == request.lastRow
                      ? tr("&Apply to Row %1").arg(request.firstRow)
                      : tr("&Apply to Rows %1 to %2").arg(request.firstRow).arg(request.lastRow));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QLineEdit *edit : {flowEdit, rateEdit, velocityEdit, heightEdit})
        connect(edit, &QLineEdit::textChanged, this, &SizeDuctsDialog::review);
    review();
}

std::optional<SizingChoice> SizeDuctsDialog::choice() const
{
    const auto rate = limitIn(*rateEdit);
    const auto velocity = limitIn(*velocityEdit);
    const auto height = limitIn(*heightEdit);
    if (!rate || !velocity || !height)
        return std::nullopt;
    return SizingChoice{{*rate, *velocity}, *height, shapeBox->currentIndex() == 1};
}

void SizeDuctsDialog::review()
{
    proposalTable->clear();
    proposalTable->setRowCount(0);
    const std::optional<SizingChoice> chosen = choice();
    bool flowRead = false;
    const double flow = flowEdit->text().trimmed().toDouble(&flowRead);
    QString problem;
    if (!chosen || !flowRead)
        problem = tr("A field does not hold a number.");
    else if (const auto error = sizing::requestError(flow, chosen->criterion, chosen->height))
        problem = QString::fromStdString(*error);
    if (problem.isEmpty()) {
        const TextRows rows =
            sizing::proposalRows(flow, chosen->criterion, m_request.settings, chosen->height);
        proposalTable->setColumnCount(static_cast<int>(rows.front().size()));
        proposalTable->setRowCount(static_cast<int>(rows.size()) - 1);
        for (std::size_t col = 0; col < rows.front().size(); ++col)
            proposalTable->setHorizontalHeaderItem(
                static_cast<int>(col),
                new QTableWidgetItem(QString::fromStdString(rows.front()[col])));
        for (std::size_t row = 1; row < rows.size(); ++row) {
            for (std::size_t col = 0; col < rows[row].size(); ++col)
                proposalTable->setItem(
                    static_cast<int>(row) - 1, static_cast<int>(col),
                    new QTableWidgetItem(QString::fromStdString(rows[row][col])));
        }
        if (!m_request.shapes)
            proposalTable->hideRow(1);
    }
    if (problem.isEmpty() && m_request.ductRuns == 0)
        problem = tr("No duct run (a row with a length) is selected to apply a size to.");
    problemLabel->setText(problem);
    problemLabel->setVisible(!problem.isEmpty());
    buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}

} // namespace plenix
