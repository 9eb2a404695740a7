#include "app/host/HostWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QUrl>
#include <functional>

#include "app/host/JournalWindow.h"
#include "ui/ScreenWindow.h"

namespace keltro::app {

namespace {

struct ArMenuEntry {
    const char* caption;  // null: a separator
    std::function<void(host::ARclass&)> open;
};

const std::vector<ArMenuEntry>& arMenu() {
    using host::ARclass;
    static const std::vector<ArMenuEntry> entries = {
        {"&Invoice Entry", [](ARclass& a) { a.showform_ARform_invoice(); }},
        {"&Credit Note", [](ARclass& a) { a.showform_ARform_invoice("cn"); }},
        {"&Debit Note", [](ARclass& a) { a.showform_ARform_invoice("dn"); }},
        {nullptr, nullptr},
        {"&Receipt Entry", [](ARclass& a) { a.showform_ARform_receipt(); }},
        {"&Fast Receipt", [](ARclass& a) { a.showform_ARform_fastreceipt(); }},
        {"&Miscellaneous Receipt", [](ARclass& a) { a.showform_ARform_misc(); }},
        {"&Prepayment", [](ARclass& a) { a.showform_ARform_prepayment(); }},
        {"M&atching", [](ARclass& a) { a.showform_ARform_matching(); }},
        {"Re&valuation", [](ARclass& a) { a.showform_ARform_revalue(); }},
        {nullptr, nullptr},
        {"A&ging Report", [](ARclass& a) { a.showform_ARreport_aging(); }},
        {"A/R In&quiry", [](ARclass& a) { a.showform_ARreport_inquiry(); }},
        {"Invoice/Receipt &History", [](ARclass& a) { a.showform_ARreport_invoice_receipt_history(); }},
        {"Receipt C&heque History", [](ARclass& a) { a.showform_ARreport_receipt_check_history(); }},
        {"Rec&urring Invoice Inquiry", [](ARclass& a) { a.showform_ARreport_recur_inquiry(); }},
    };
    return entries;
}

}  // namespace

HostWindow::HostWindow(db::Database& db, const std::string& companyName, const std::string& dateFormat)
    : m_db(db), m_dateFormat(dateFormat), m_workspace(new QMdiArea(this)),
      m_screens(std::make_unique<ui::QtScreenFactory>(m_workspace)) {
    setObjectName("keltroHost");
    setWindowTitle(QString::fromStdString("Keltro A/R — " + companyName));
    m_workspace->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_workspace->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_workspace->setBackground(QColor(230, 230, 245));
    setCentralWidget(m_workspace);
    buildMenus();
    statusBar()->showMessage(tr("Ready"));
}

HostWindow::~HostWindow() = default;

void HostWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("E&xit"), this, &QWidget::close);
    buildArMenu();
    QMenu* window = menuBar()->addMenu(tr("&Window"));
    window->addAction(tr("&Cascade"), m_workspace, &QMdiArea::cascadeSubWindows);
    window->addAction(tr("&Tile"), m_workspace, &QMdiArea::tileSubWindows);
    window->addAction(tr("Close &All"), m_workspace, &QMdiArea::closeAllSubWindows);
}

void HostWindow::buildArMenu() {
    QMenu* menu = menuBar()->addMenu(tr("&A/R"));
    for (const auto& entry : arMenu()) {
        if (!entry.caption) {
            menu->addSeparator();
            continue;
        }
        menu->addAction(tr(entry.caption), this, [this, open = entry.open] {
            if (m_arclass) open(*m_arclass);
        });
    }
}

void HostWindow::attach(host::ARclass& arclass) {
    m_arclass = &arclass;
    m_requests = std::make_unique<HostRequests>(
        arclass, HostRequests::Desktop{[this](const std::string& key) { openJournal(key); },
                                       [this](const std::string& file, const std::string& title) {
                                           openFile(file, title);
                                       },
                                       [this](const std::string& text) { showStatus(text); }});
    arclass.NotifyClients = [this](const std::string& formx, const std::string& docnox, const std::string& arg2) {
        m_requests->answer(formx, docnox, arg2);
    };
}

void HostWindow::openJournal(const std::string& glKey) {
    auto* journal = new JournalWindow(m_db, glKey, m_dateFormat);
    QMdiSubWindow* frame = m_workspace->addSubWindow(journal);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->show();
}

void HostWindow::openFile(const std::string& file, const std::string& title) {
    if (m_fileViewer) return m_fileViewer(file, title);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file))))
        showStatus("Cannot open " + file + (title.empty() ? "" : " (" + title + ")"));
}

void HostWindow::showStatus(const std::string& text) { statusBar()->showMessage(QString::fromStdString(text)); }

void HostWindow::closeScreens() {
    m_workspace->closeAllSubWindows();
    for (auto* window : m_screens->windows()) window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void HostWindow::closeEvent(QCloseEvent* event) {
    m_workspace->closeAllSubWindows();
    event->accept();
}

}  // namespace keltro::app
