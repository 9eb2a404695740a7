#include "ui/QtUi.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/ScreenWindow.h"

namespace keltro::ui {

namespace {

int showBox(QMessageBox::Icon icon, const std::string& text, QMessageBox::StandardButtons buttons,
            QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, QGuiApplication::applicationDisplayName(), QString::fromStdString(text), buttons,
                    QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
    return box.exec();
}

}  // namespace

void QtUi::message(const std::string& text) {
    showBox(QMessageBox::NoIcon, text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtUi::warn(const std::string& text) {
    showBox(QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtUi::ask(const std::string& text) {
    return showBox(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

void QtUi::progress(long done, long total) {
    if (ScreenWindow* window = ScreenWindow::active()) window->setProgress(done, total);
}

void QtUi::pumpEvents() { QCoreApplication::processEvents(); }

}  // namespace keltro::ui
