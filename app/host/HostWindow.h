// The desktop program's main window: a workspace in which the A/R screens open as
// sub-windows, an "A/R" menu that opens each of them (with "Credit Note" and "Debit Note"
// opening the invoice screen on those types), and a status bar for the requests the host
// only reports.
//
// The window is made first, so that ARclass can be created on its screen factory; then
// `attach` connects the two: the menu calls ARclass and ARclass's `NotifyClients` reaches
// `HostRequests`. Closing the window closes every screen (saving their layouts).
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

#include "app/host/HostRequests.h"
#include "db/Database.h"
#include "ui/QtScreenFactory.h"

class QMdiArea;

namespace keltro::app {

class HostWindow : public QMainWindow {
    Q_OBJECT
public:
    HostWindow(db::Database& db, const std::string& companyName, const std::string& dateFormat);
    ~HostWindow() override;

    ui::QtScreenFactory& screenFactory() { return *m_screens; }
    QMdiArea* workspace() const { return m_workspace; }
    void attach(host::ARclass& arclass);
    // Files the screens ask to show ("pdf viewer", printouts) go to `viewer` instead of the
    // desktop's viewer while it is set.
    using FileViewer = std::function<void(const std::string& file, const std::string& title)>;
    void setFileViewer(FileViewer viewer) { m_fileViewer = std::move(viewer); }
    // Closes every screen window now, and lets them go.
    void closeScreens();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildArMenu();
    void openJournal(const std::string& glKey);
    void openFile(const std::string& file, const std::string& title);
    void showStatus(const std::string& text);

    db::Database& m_db;
    std::string m_dateFormat;
    QMdiArea* m_workspace;
    std::unique_ptr<ui::QtScreenFactory> m_screens;
    host::ARclass* m_arclass = nullptr;
    std::unique_ptr<HostRequests> m_requests;
    FileViewer m_fileViewer;
};

}  // namespace keltro::app
