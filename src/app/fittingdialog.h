// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculation/units.h"
#include "fittings/library.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace plenix {

// What the picker starts from: the project's units, and the current row's
// description, so that a fitting row opens at its fitting and values.
struct FittingRequest
{
    units::System units = units::System::InchPound;
    std::string description;
};

// The texts Insert writes into the current row.
struct FittingChoice
{
    std::string description;
    std::string coefficient;
};

// Tools > Fitting Library: the library's families in a list with a search
// box, a drawing of the fitting chosen, its parameters with their units and
// ranges, and its coefficient as the fields stand, with the velocity
// pressure it is on and its source.
class FittingDialog final : public QDialog
{
    Q_OBJECT

public:
    FittingDialog(const FittingRequest &request, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(FittingDialog)

    // The row as the fields give it; nothing while one does not read.
    std::optional<FittingChoice> choice() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void filter(const QString &text);
    void showFitting();
    void review();
    const fittings::Fitting *chosen() const;
    std::vector<std::string> fieldTexts() const;

    FittingRequest m_request;
    QLineEdit *searchEdit;
    QTreeWidget *fittingTree;
    QLabel *drawingLabel;
    QLabel *nameLabel;
    QFormLayout *parameterForm;
    std::vector<QLineEdit *> parameterEdits;
    QLabel *coefficientLabel;
    QLabel *sourceLabel;
    QDialogButtonBox *buttons;
    QPushButton *insertButton;
};

} // namespace plenix
