// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPrinterInfo>

class QPagedPaintDevice;
class QWidget;

namespace plenix {

// Paints an image of the widget, as it shows on screen, onto one page of the
// device: scaled to fit the page with its proportions kept, the page turned
// to landscape for a wide widget. False when the device could not be painted.
bool paintWidgetPage(QWidget &widget, QPagedPaintDevice &device);

// Prints the image of a window's contents on the printer without a dialog.
// When there is no printer, or the printer fails, a message box over the
// window says so: a print that goes nowhere must not look like one that worked.
void printWidget(QWidget &contents, const QPrinterInfo &printer = QPrinterInfo::defaultPrinter());

} // namespace plenix
