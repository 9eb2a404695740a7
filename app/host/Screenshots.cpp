#include "app/host/Screenshots.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <iostream>

#include "app/host/HostWindow.h"
#include "ui/ScreenWindow.h"

namespace keltro::app {

namespace {

constexpr int kSettleMilliseconds = 400;
constexpr QSize kMainWindowSize{1480, 1140};
constexpr QSize kInvoiceSize{1420, 1040};

bool save(QWidget& widget, const QDir& folder, const char* file) {
    const QString path = folder.filePath(file);
    const bool saved = widget.grab().save(path, "PNG");
    std::cout << (saved ? "Saved " : "Could not save ") << path.toStdString() << "\n";
    return saved;
}

QWidget* invoiceFrame(HostWindow& window, host::ARclass& arclass) {
    auto screen = arclass.referencedScreen("ARform_invoice");
    ui::ScreenWindow* view = screen ? window.screenFactory().windowOf(*screen) : nullptr;
    if (!view) return nullptr;
    auto* frame = qobject_cast<QMdiSubWindow*>(view->parentWidget());
    return frame ? static_cast<QWidget*>(frame) : view;
}

// The invoice on the screen printed as the person's "&Preview" prints it, with the file
// taken from the viewer.
bool savePrintout(HostWindow& window, host::ARclass& arclass, const QDir& folder) {
    auto screen = arclass.referencedScreen("ARform_invoice");
    if (!screen) return false;
    std::string printed;
    window.setFileViewer([&printed](const std::string& file, const std::string&) { printed = file; });
    try {
        screen->run("&Preview");
    } catch (const std::exception& e) {
        std::cerr << "keltro-host: " << e.what() << "\n";
    }
    window.setFileViewer(nullptr);
    const QString path = folder.filePath("invoice-printout.pdf");
    QFile::remove(path);
    const bool saved = !printed.empty() && QFile::copy(QString::fromStdString(printed), path);
    std::cout << (saved ? "Saved " : "Could not print the invoice into ") << path.toStdString() << "\n";
    return saved;
}

// The grid columns whose texts or headings are cut short widened to show them, as a
// person widens them to read the lines (the layouts are stored in twips for a narrower
// face than the one the virtual display has).
void widenCutColumns(QWidget& window) {
    for (auto* grid : window.findChildren<QTableWidget*>()) {
        for (int c = 0; c < grid->columnCount(); ++c) {
            if (grid->isColumnHidden(c)) continue;
            const QAbstractItemView* view = grid;  // where the size hint is public
            const int wanted = std::max(view->sizeHintForColumn(c), grid->horizontalHeader()->sectionSizeHint(c));
            if (wanted > grid->columnWidth(c)) grid->setColumnWidth(c, wanted);
        }
    }
}

void grabAndQuit(HostWindow& window, host::ARclass& arclass, const QDir& folder) {
    QWidget* invoice = invoiceFrame(window, arclass);
    if (invoice) widenCutColumns(*invoice);
    bool saved = save(window, folder, "main-window.png");
    if (invoice) {
        saved = save(*invoice, folder, "invoice.png") && saved;
        saved = savePrintout(window, arclass, folder) && saved;
    } else {
        std::cerr << "keltro-host: the invoice screen did not open\n";
        saved = false;
    }
    QCoreApplication::exit(saved ? 0 : 1);
}

}  // namespace

void scheduleScreenshots(HostWindow& window, host::ARclass& arclass, const std::string& folder) {
    QDir dir(QString::fromStdString(folder));
    dir.mkpath(".");
    window.resize(kMainWindowSize);
    QTimer::singleShot(0, &window, [&window, &arclass, dir] {
        arclass.showform_ARform_invoice();
        if (QWidget* invoice = invoiceFrame(window, arclass)) {
            invoice->resize(kInvoiceSize);
            invoice->move(12, 12);
        }
        QTimer::singleShot(kSettleMilliseconds, &window, [&window, &arclass, dir] { grabAndQuit(window, arclass, dir); });
    });
}

}  // namespace keltro::app
