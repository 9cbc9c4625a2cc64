// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project/project.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTableWidget;

namespace plenix {

// Where a route takes off: a route of the project and the row after which
// the branch starts.
class TakeoffDialog final : public QDialog
{
    Q_OBJECT

public:
    TakeoffDialog(const QStringList &routes, const Takeoff &current, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(TakeoffDialog)

    Takeoff takeoff() const;

private:
    QComboBox *routeBox;
    QSpinBox *rowBox;
};

// The job information of File > Project Properties.
class JobInfoDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit JobInfoDialog(const JobInfo &job, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(JobInfoDialog)

    JobInfo job() const;

private:
    QList<QLineEdit *> m_fields;
    QPlainTextEdit *notesEdit;
};

// The losses on the fan's side that no route holds, and the safety factor.
class FanSideDialog final : public QDialog
{
    Q_OBJECT

public:
    FanSideDialog(const std::vector<FanItem> &items, const QString &safetyFactor,
                  units::System units, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(FanSideDialog)

    std::vector<FanItem> items() const;
    QString safetyFactor() const;

private:
    QTableWidget *itemTable;
    QLineEdit *safetyEdit;
};

} // namespace plenix
