// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowprinter.h"

#include "dialogs.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QWidget>

namespace plenix {

bool paintWidgetPage(QWidget &widget, QPagedPaintDevice &device)
{
    const QPixmap image = widget.grab();
    if (image.isNull())
        return false;
    device.setPageOrientation(image.width() > image.height() ? QPageLayout::Landscape
                                                             : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRect page = painter.viewport();
    const QSize fitted = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(page.topLeft(), fitted), image);
    return painter.end();
}

void printWidget(QWidget &contents, const QPrinterInfo &printer)
{
    QWidget *window = contents.window();
    const QString title = QStringLiteral("plenix");
    if (printer.isNull()) {
        Dialogs::instance().message(
            window, title,
            QCoreApplication::translate("MainWindow",
                                        "No printer is available (no default printer is set up), "
                                        "so the window was not printed."));
        return;
    }
    QPrinter device(printer, QPrinter::HighResolution);
    device.setDocName(window->windowTitle());
    if (!paintWidgetPage(contents, device) || device.printerState() == QPrinter::Error) {
        Dialogs::instance().message(
            window, title,
            QCoreApplication::translate("MainWindow", "The window could not be printed on %1.")
                .arg(printer.printerName()));
    }
}

} // namespace plenix
