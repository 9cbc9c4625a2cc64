// SPDX-License-Identifier: GPL-3.0-or-later
#include "projectdialogs.h"

#include "textcodec.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace plenix {

namespace {

QString text(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

QDialogButtonBox *addButtons(QDialog &dialog, QLayout &layout)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->setObjectName(QStringLiteral("buttons"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(buttons);
    return buttons;
}

} // namespace

TakeoffDialog::TakeoffDialog(const QStringList &routes, const Takeoff &current, QWidget *parent)
    : QDialog(parent), routeBox(new QComboBox(this)), rowBox(new QSpinBox(this))
{
    setWindowTitle(tr("Take-off"));
    routeBox->setObjectName(QStringLiteral("routeBox"));
    routeBox->addItems(routes);
    routeBox->setCurrentText(text(current.route));
    rowBox->setObjectName(QStringLiteral("rowBox"));
    rowBox->setRange(1, RouteTable::DataRows);
    rowBox->setValue(current.row);
    auto *layout = new QFormLayout(this);
    layout->addRow(tr("Takes off &route:"), routeBox);
    layout->addRow(tr("After &row:"), rowBox);
    addButtons(*this, *layout);
}

Takeoff TakeoffDialog::takeoff() const
{
    return {routeBox->currentText().toStdString(), rowBox->value()};
}

JobInfoDialog::JobInfoDialog(const JobInfo &job, QWidget *parent)
    : QDialog(parent), notesEdit(new QPlainTextEdit(text(job.notes), this))
{
    setWindowTitle(tr("Project Properties"));
    auto *layout = new QFormLayout(this);
    const std::array<std::pair<QString, const std::string *>, 8> fields{{
        {tr("Project &name:"), &job.name},
        {tr("Job n&umber:"), &job.number},
        {tr("&Client:"), &job.client},
        {tr("&Location:"), &job.location},
        {tr("&Designer:"), &job.designer},
        {tr("C&hecker:"), &job.checker},
        {tr("D&ate:"), &job.date},
        {tr("&Revision:"), &job.revision},
    }};
    for (const auto &[label, value] : fields) {
        auto *edit = new QLineEdit(text(*value), this);
        m_fields << edit;
        layout->addRow(label, edit);
    }
    notesEdit->setObjectName(QStringLiteral("notesEdit"));
    layout->addRow(tr("N&otes:"), notesEdit);
    addButtons(*this, *layout);
}

JobInfo JobInfoDialog::job() const
{
    const auto field = [this](int i) { return m_fields.at(i)->text().toStdString(); };
    return {field(0), field(1), field(2),
            field(3), field(4), field(5),
            field(6), field(7), notesEdit->toPlainText().toStdString()};
}

FanSideDialog::FanSideDialog(const std::vector<FanItem> &items, const QString &safetyFactor,
                             units::System units, QWidget *parent)
    : QDialog(parent), itemTable(new QTableWidget(0, 2, this)),
      safetyEdit(new QLineEdit(safetyFactor, this))
{
    setWindowTitle(tr("Fan-Side Items"));
    itemTable->setObjectName(QStringLiteral("itemTable"));
    itemTable->setHorizontalHeaderLabels(
        {tr("Item"), tr("Pressure, %1").arg(unitText(units::Quantity::Pressure, units))});
    itemTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (const FanItem &item : items) {
        const int row = itemTable->rowCount();
        itemTable->insertRow(row);
        itemTable->setItem(row, 0, new QTableWidgetItem(text(item.name)));
        itemTable->setItem(row, 1, new QTableWidgetItem(text(item.pressure)));
    }
    auto *addButton = new QPushButton(tr("&Add Item"), this);
    addButton->setObjectName(QStringLiteral("addItemButton"));
    connect(addButton, &QPushButton::clicked, this, [this] {
        itemTable->insertRow(itemTable->rowCount());
        itemTable->setCurrentCell(itemTable->rowCount() - 1, 0);
    });
    auto *removeButton = new QPushButton(tr("&Remove Item"), this);
    connect(removeButton, &QPushButton::clicked, this,
            [this] { itemTable->removeRow(itemTable->currentRow()); });
    safetyEdit->setObjectName(QStringLiteral("safetyEdit"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(itemTable);
    auto *row = new QHBoxLayout;
    row->addWidget(addButton);
    row->addWidget(removeButton);
    row->addStretch();
    layout->addLayout(row);
    auto *form = new QFormLayout;
    form->addRow(tr("&Safety factor, %:"), safetyEdit);
    layout->addLayout(form);
    addButtons(*this, *layout);
}

std::vector<FanItem> FanSideDialog::items() const
{
    std::vector<FanItem> items;
    for (int row = 0; row < itemTable->rowCount(); ++row) {
        const auto cell = [this, row](int col) {
            const QTableWidgetItem *item = itemTable->item(row, col);
            return item ? item->text().trimmed().toStdString() : std::string();
        };
        // A row left empty is no item.
        if (!cell(0).empty() || !cell(1).empty())
            items.push_back({cell(0), cell(1)});
    }
    return items;
}

QString FanSideDialog::safetyFactor() const
{
    return safetyEdit->text().trimmed();
}

} // namespace plenix
