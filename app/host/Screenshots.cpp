#include "app/host/Screenshots.h"

#include <QApplication>
#include <QDir>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTimer>
#include <iostream>

#include "app/host/HostWindow.h"
#include "ui/ScreenWindow.h"

namespace keltro::app {

namespace {

constexpr int kSettleMilliseconds = 400;
constexpr QSize kMainWindowSize{1280, 960};
constexpr QSize kInvoiceSize{1120, 900};

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

void grabAndQuit(HostWindow& window, host::ARclass& arclass, const QDir& folder) {
    QWidget* invoice = invoiceFrame(window, arclass);
    bool saved = save(window, folder, "main-window.png");
    if (invoice) {
        saved = save(*invoice, folder, "invoice.png") && saved;
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
