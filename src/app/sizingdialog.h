// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculation/sizing.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace plenix {

// What Tools > Size Ducts starts from: the flow in force at the current
// row, the settings the sizes are worked out in, and the rows selected.
struct SizingRequest
{
    double flow = 0;
    method::Settings settings;
    bool shapes = true; // whether rectangles may be proposed
    int firstRow = 0;
    int lastRow = 0;
    int ductRuns = 0; // rows with a length among them
};

// The criterion and shape chosen, to size the selected duct runs by.
struct SizingChoice
{
    sizing::Criterion criterion;
    std::optional<double> height;
    bool rectangular = false;
};

class SizeDuctsDialog final : public QDialog
{
    Q_OBJECT

public:
    SizeDuctsDialog(const SizingRequest &request, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(SizeDuctsDialog)

    // The choice as the fields give it; nothing while one does not read.
    std::optional<SizingChoice> choice() const;

private:
    // Works the proposals for the flow typed out again.
    void review();

    SizingRequest m_request;
    QLineEdit *flowEdit;
    QLineEdit *rateEdit;
    QLineEdit *velocityEdit;
    QLineEdit *heightEdit;
    QComboBox *shapeBox;
    QTableWidget *proposalTable;
    QLabel *problemLabel;
    QDialogButtonBox *buttons;
};

} // namespace plenix
