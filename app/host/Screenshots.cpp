#include "app/host/Screenshots.h"

#include <QApplication>
#include <QDialog>
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
constexpr QSize kReceiptSize{1420, 900};

bool save(QWidget& widget, const QDir& folder, const char* file) {
    const QString path = folder.filePath(file);
    const bool saved = widget.grab().save(path, "PNG");
    std::cout << (saved ? "Saved " : "Could not save ") << path.toStdString() << "\n";
    return saved;
}

ui::ScreenWindow* screenWindow(HostWindow& window, host::ARclass& arclass, const std::string& name) {
    auto screen = arclass.referencedScreen(name);
    return screen ? window.screenFactory().windowOf(*screen) : nullptr;
}

// The screen's window with its frame in the workspace.
QWidget* screenFrame(HostWindow& window, host::ARclass& arclass, const std::string& name) {
    ui::ScreenWindow* view = screenWindow(window, arclass, name);
    if (!view) return nullptr;
    auto* frame = qobject_cast<QMdiSubWindow*>(view->parentWidget());
    return frame ? static_cast<QWidget*>(frame) : view;
}

QWidget* placeFrame(HostWindow& window, host::ARclass& arclass, const std::string& name, QSize size) {
    QWidget* frame = screenFrame(window, arclass, name);
    if (frame) {
        frame->resize(size);
        frame->move(12, 12);
    }
    return frame;
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

// The invoice's tax details in their own window, beside the invoice.
bool saveTaxDetails(HostWindow& window, host::ARclass& arclass, const QDir& folder) {
    ui::ScreenWindow* view = screenWindow(window, arclass, "ARform_invoice");
    if (!view) return false;
    view->screen().run("Tax &Details");
    QDialog* details = view->subWindow("Tax Details Window");
    if (!details || !details->isVisible()) return false;
    details->resize(620, 260);
    widenCutColumns(*details);
    const bool saved = save(*details, folder, "invoice-tax-details.png");
    details->close();
    return saved;
}

// A check received from the customer, applied to the invoice and the debit note as a
// person applies it: a click into each line's "applied amount", then the amount received.
void enterReceipt(framework::Screen& receipt) {
    receipt.run("&New");
    receipt.enter("cmbcustno", "1002");
    receipt.enter("txtrcno", "CHQ 7710");
    receipt.enter("cmbpayby", "Check");
    receipt.enter("cmbbank", "FNB");
    receipt.enter("txtcheck", "7710");
    receipt.enter("txtcheckdate", "14/01/2026");
    receipt.enter("txtremark", "January statement");
    const auto& rows = receipt.grid("dbgrid1").rows;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const auto number = rows[row].find("invoice no");
        if (number != rows[row].end() && (number->second == "INV-26-00001" || number->second == "DN-26-00001"))
            receipt.clickCell("dbgrid1", row, "applied amount");
    }
    receipt.enter("txtrcamount", receipt.field("txttotal").value);
}

void grabReceiptAndQuit(HostWindow& window, host::ARclass& arclass, const QDir& folder, bool saved) {
    QWidget* receipt = screenFrame(window, arclass, "ARform_receipt");
    if (receipt) {
        widenCutColumns(*receipt);
        saved = save(*receipt, folder, "receipt.png") && saved;
    } else {
        std::cerr << "keltro-host: the receipt screen did not open\n";
        saved = false;
    }
    QCoreApplication::exit(saved ? 0 : 1);
}

void grabInvoiceThenReceipt(HostWindow& window, host::ARclass& arclass, const QDir& folder) {
    QWidget* invoice = screenFrame(window, arclass, "ARform_invoice");
    if (invoice) widenCutColumns(*invoice);
    bool saved = save(window, folder, "main-window.png");
    if (invoice) {
        saved = save(*invoice, folder, "invoice.png") && saved;
        saved = saveTaxDetails(window, arclass, folder) && saved;
        saved = savePrintout(window, arclass, folder) && saved;
    } else {
        std::cerr << "keltro-host: the invoice screen did not open\n";
        saved = false;
    }
    arclass.showform_ARform_receipt();
    if (QWidget* frame = placeFrame(window, arclass, "ARform_receipt", kReceiptSize)) {
        try {
            enterReceipt(screenWindow(window, arclass, "ARform_receipt")->screen());
        } catch (const std::exception& e) {
            std::cerr << "keltro-host: " << e.what() << "\n";
            saved = false;
        }
        frame->raise();
    }
    QTimer::singleShot(kSettleMilliseconds, &window,
                       [&window, &arclass, folder, saved] { grabReceiptAndQuit(window, arclass, folder, saved); });
}

}  // namespace

void scheduleScreenshots(HostWindow& window, host::ARclass& arclass, const std::string& folder) {
    QDir dir(QString::fromStdString(folder));
    dir.mkpath(".");
    window.resize(kMainWindowSize);
    QTimer::singleShot(0, &window, [&window, &arclass, dir] {
        arclass.showform_ARform_invoice();
        placeFrame(window, arclass, "ARform_invoice", kInvoiceSize);
        QTimer::singleShot(kSettleMilliseconds, &window,
                           [&window, &arclass, dir] { grabInvoiceThenReceipt(window, arclass, dir); });
    });
}

}  // namespace keltro::app
