// SPDX-License-Identifier: GPL-3.0-or-later
#include "elbowdialog.h"

#include "fittings.h"
#include "numbertext.h"
#include "textcodec.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <optional>
#include <string>

using namespace Qt::StringLiterals;

namespace plenix {

ElbowRadiusDialog::ElbowRadiusDialog(const QString &angle, float diameter, QWidget *parent)
    : QDialog(parent), m_angle(angle), m_diameter(diameter)
{
    setObjectName(u"elbowRadiusDialog"_s);
    setWindowTitle(u"plenix"_s);
    auto *prompt = new QLabel(toQString(ElbowRadiusPrompt), this);
    auto *diameterLabel =
        new QLabel(tr("Diameter in force: %1 in").arg(toQString(decimalText(diameter))), this);
    diameterLabel->setObjectName(u"diameterLabel"_s);
    replyEdit = new QLineEdit(toQString(ElbowRadiusDefault), this);
    replyEdit->setObjectName(u"replyEdit"_s);
    replyEdit->selectAll();
    previewLabel = new QLabel(this);
    previewLabel->setObjectName(u"previewLabel"_s);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(replyEdit, &QLineEdit::textChanged, this, &ElbowRadiusDialog::showPreview);

    auto *column = new QVBoxLayout(this);
    column->addWidget(prompt);
    column->addWidget(diameterLabel);
    column->addWidget(replyEdit);
    column->addWidget(previewLabel);
    column->addWidget(buttons);
    showPreview();
}

QString ElbowRadiusDialog::reply() const
{
    return replyEdit->text();
}

void ElbowRadiusDialog::showPreview()
{
    // A character the cells cannot hold makes no number.
    const std::optional<std::string> reply = fromQString(replyEdit->text());
    const std::optional<std::string> angle = fromQString(m_angle);
    previewLabel->setText(reply && angle ? toQString(elbowPreview(*angle, m_diameter, *reply))
                                         : tr("Not a number"));
}

} // namespace plenix
