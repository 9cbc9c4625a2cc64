// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace plenix {

// The elbow radius prompt: the question, the diameter the elbow sits in, the
// reply pre-filled with "0", and below it what the reply gives as the user
// types (the ratio R/D and the coefficient the cell will get).
class ElbowRadiusDialog final : public QDialog
{
    Q_OBJECT

public:
    ElbowRadiusDialog(const QString &angle, float diameter, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(ElbowRadiusDialog)

    QString reply() const;

private:
    void showPreview();

    QString m_angle;
    float m_diameter;
    QLineEdit *replyEdit;
    QLabel *previewLabel;
};

} // namespace plenix
