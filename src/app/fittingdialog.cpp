// SPDX-License-Identifier: GPL-3.0-or-later
#include "fittingdialog.h"

#include "fittings/rowfittings.h"
#include "textcodec.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace plenix {

namespace {

constexpr int FittingRole = Qt::UserRole;

QString text(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

} // namespace

FittingDialog::FittingDialog(const FittingRequest &request, QWidget *parent)
    : QDialog(parent), m_request(request)
{
    setWindowTitle(tr("Fitting Library"));
    searchEdit = new QLineEdit(this);
    searchEdit->setObjectName(u"searchEdit"_s);
    searchEdit->setPlaceholderText(tr("Search: tee, bellmouth, elbow"));
    searchEdit->setClearButtonEnabled(true);

    fittingTree = new QTreeWidget(this);
    fittingTree->setObjectName(u"fittingTree"_s);
    fittingTree->setHeaderHidden(true);
    fittingTree->setMinimumWidth(300);
    QTreeWidgetItem *family = nullptr;
    for (const fittings::Fitting &fitting : fittings::builtIn().fittings) {
        if (family == nullptr || family->text(0) != text(fitting.family)) {
            family = new QTreeWidgetItem(fittingTree, {text(fitting.family)});
            family->setFlags(Qt::ItemIsEnabled);
            QFont bold = family->font(0);
            bold.setBold(true);
            family->setFont(0, bold);
        }
        auto *item = new QTreeWidgetItem(family, {text(fitting.name)});
        item->setData(0, FittingRole, text(fitting.id));
    }
    fittingTree->expandAll();

    drawingLabel = new QLabel(this);
    drawingLabel->setObjectName(u"drawingLabel"_s);
    drawingLabel->setFixedSize(240, 160);
    drawingLabel->setAlignment(Qt::AlignCenter);
    nameLabel = new QLabel(this);
    nameLabel->setObjectName(u"nameLabel"_s);
    nameLabel->setWordWrap(true);
    QFont bold = nameLabel->font();
    bold.setBold(true);
    nameLabel->setFont(bold);
    parameterForm = new QFormLayout;
    coefficientLabel = new QLabel(this);
    coefficientLabel->setObjectName(u"coefficientLabel"_s);
    coefficientLabel->setWordWrap(true);
    sourceLabel = new QLabel(this);
    sourceLabel->setObjectName(u"sourceLabel"_s);
    sourceLabel->setWordWrap(true);
    sourceLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    insertButton = buttons->addButton(tr("&Insert"), QDialogButtonBox::AcceptRole);
    insertButton->setObjectName(u"insertButton"_s);
    insertButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *details = new QVBoxLayout;
    details->addWidget(drawingLabel);
    details->addWidget(nameLabel);
    details->addLayout(parameterForm);
    details->addWidget(coefficientLabel);
    details->addWidget(sourceLabel);
    details->addStretch();
    auto *columns = new QHBoxLayout;
    columns->addWidget(fittingTree, 1);
    columns->addLayout(details, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(searchEdit);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    resize(820, 500);

    connect(searchEdit, &QLineEdit::textChanged, this, &FittingDialog::filter);
    connect(fittingTree, &QTreeWidget::currentItemChanged, this, &FittingDialog::showFitting);
    connect(fittingTree, &QTreeWidget::itemActivated, this, [this] {
        if (choice())
            accept();
    });
    // From the search box, Down goes to the list, as in a search field.
    searchEdit->installEventFilter(this);
    connect(searchEdit, &QLineEdit::returnPressed, this, [this] {
        if (choice())
            accept();
    });

    // A fitting row opens at its fitting; any other row at the first.
    const std::optional<fittings::DescribedFitting> described =
        fittings::readDescription(fittings::builtIn(), request.description, request.units);
    const QString start = described ? text(described->fitting->id) : QString();
    for (QTreeWidgetItemIterator it(fittingTree); *it; ++it) {
        const QString id = (*it)->data(0, FittingRole).toString();
        if (!id.isEmpty() && (start.isEmpty() || id == start)) {
            fittingTree->setCurrentItem(*it);
            break;
        }
    }
    searchEdit->setFocus();
}

bool FittingDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == searchEdit && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Down) {
        fittingTree->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

const fittings::Fitting *FittingDialog::chosen() const
{
    const QTreeWidgetItem *item = fittingTree->currentItem();
    if (item == nullptr || item->isHidden())
        return nullptr;
    return fittings::builtIn().find(item->data(0, FittingRole).toString().toStdString());
}

void FittingDialog::filter(const QString &words)
{
    const std::vector<const fittings::Fitting *> found =
        fittings::builtIn().search(words.toStdString());
    QTreeWidgetItem *first = nullptr;
    for (int f = 0; f < fittingTree->topLevelItemCount(); ++f) {
        QTreeWidgetItem *family = fittingTree->topLevelItem(f);
        bool any = false;
        for (int i = 0; i < family->childCount(); ++i) {
            QTreeWidgetItem *item = family->child(i);
            const fittings::Fitting *fitting =
                fittings::builtIn().find(item->data(0, FittingRole).toString().toStdString());
            const bool shown = std::ranges::find(found, fitting) != found.end();
            item->setHidden(!shown);
            any = any || shown;
            if (shown && first == nullptr)
                first = item;
        }
        family->setHidden(!any);
    }
    const QTreeWidgetItem *current = fittingTree->currentItem();
    if (current == nullptr || current->isHidden())
        fittingTree->setCurrentItem(first);
    showFitting();
}

void FittingDialog::showFitting()
{
    while (parameterForm->rowCount() > 0)
        parameterForm->removeRow(0);
    parameterEdits.clear();
    const fittings::Fitting *fitting = chosen();
    if (fitting == nullptr) {
        drawingLabel->clear();
        nameLabel->setText(tr("No fitting matches the search"));
        review();
        return;
    }
    drawingLabel->setPixmap(
        QIcon(u":/plenix/fittings/%1.svg"_s.arg(text(fitting->drawing))).pixmap(240, 160));
    nameLabel->setText(text(fitting->name));
    const std::vector<std::string> given =
        fittings::fieldTexts(*fitting, m_request.description, m_request.units);
    // Each field with its range beside it, in grey: the range stays in
    // sight while a value is typed.
    std::vector<QLabel *> rangeLabels;
    const auto addField = [this, &rangeLabels](const QString &label, const QString &value,
                                               const QString &range, bool fromRoute) {
        auto *edit = new QLineEdit(value, this);
        edit->setObjectName(u"parameterEdit%1"_s.arg(parameterEdits.size()));
        if (fromRoute)
            edit->setPlaceholderText(tr("from the route"));
        edit->setToolTip(tr("%1: %2").arg(label, range));
        connect(edit, &QLineEdit::textChanged, this, &FittingDialog::review);
        connect(edit, &QLineEdit::returnPressed, this, [this] {
            if (choice())
                accept();
        });
        auto *rangeLabel = new QLabel(range, this);
        rangeLabel->setForegroundRole(QPalette::PlaceholderText);
        auto *row = new QHBoxLayout;
        row->addWidget(edit, 1);
        row->addWidget(rangeLabel);
        parameterForm->addRow(label, row);
        // Shown at once, not when the layout next runs: a Tab typed right
        // after choosing the fitting must find the field.
        edit->show();
        rangeLabel->show();
        rangeLabels.push_back(rangeLabel);
        parameterEdits.push_back(edit);
    };
    if (fitting->kind == fittings::Fitting::Kind::Pressure) {
        addField(tr("Pressure, %1").arg(unitText(units::Quantity::Pressure, m_request.units)),
                 text(given.front()), tr("from the maker's data"), false);
    }
    for (std::size_t index = 0; index < fitting->parameters.size(); ++index) {
        const fittings::Parameter &parameter = fitting->parameters[index];
        addField(
            parameter.unit.empty() ? text(parameter.name)
                                   : tr("%1, %2").arg(text(parameter.name), text(parameter.unit)),
            text(given[index]), text(fittings::rangeText(parameter)), !parameter.derive.empty());
    }
    // The ranges share one width, so the fields line up on the right too.
    int rangeWidth = 0;
    for (const QLabel *rangeLabel : rangeLabels)
        rangeWidth = std::max(rangeWidth, rangeLabel->sizeHint().width());
    for (QLabel *rangeLabel : rangeLabels)
        rangeLabel->setMinimumWidth(rangeWidth);
    // Tab goes from the list through the fields to Insert.
    QWidget *previous = fittingTree;
    for (QLineEdit *edit : parameterEdits) {
        setTabOrder(previous, edit);
        previous = edit;
    }
    setTabOrder(previous, insertButton);
    review();
}

std::vector<std::string> FittingDialog::fieldTexts() const
{
    std::vector<std::string> texts;
    for (const QLineEdit *edit : parameterEdits)
        texts.push_back(edit->text().toStdString());
    return texts;
}

void FittingDialog::review()
{
    const fittings::Fitting *fitting = chosen();
    if (fitting == nullptr) {
        coefficientLabel->clear();
        sourceLabel->clear();
        insertButton->setEnabled(false);
        return;
    }
    const fittings::Pick picked = fittings::pick(*fitting, fieldTexts(), m_request.units);
    QString summary = picked.problem.empty() ? text(picked.summary) : text(picked.problem);
    for (const std::string &clamp : picked.clamps)
        summary += u'\n' + text(clamp);
    coefficientLabel->setText(summary);
    QString source = tr("Source: %1").arg(text(fitting->source));
    if (!fitting->note.empty())
        source += u'\n' + text(fitting->note);
    sourceLabel->setText(source);
    insertButton->setEnabled(picked.problem.empty());
}

std::optional<FittingChoice> FittingDialog::choice() const
{
    const fittings::Fitting *fitting = chosen();
    if (fitting == nullptr)
        return std::nullopt;
    const fittings::Pick picked = fittings::pick(*fitting, fieldTexts(), m_request.units);
    if (!picked.problem.empty())
        return std::nullopt;
    return FittingChoice{picked.description, picked.coefficient};
}

} // namespace plenix
