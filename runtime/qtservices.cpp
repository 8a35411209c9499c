// Qt implementations of the game's services.
#include "qtservices.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTime>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace jorv {

void QtPump::pump() {
    using namespace std::chrono;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const auto now = steady_clock::now();
    std::this_thread::sleep_until(floor<milliseconds>(now) + milliseconds(1));
}

float QtClock::secondsSinceMidnight() {
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

double QtClock::steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void QtBeeper::beep() {
    QApplication::beep();
}

// Both boxes open over the active window, which is the one that asked.
int QtMessageBox::show(const std::string& prompt, int style, const std::string& title) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (style & box::iconMask) {
    case box::critical:
        icon = QMessageBox::Critical;
        break;
    case box::question:
        icon = QMessageBox::Question;
        break;
    case box::exclamation:
        icon = QMessageBox::Warning;
        break;
    case box::information:
        icon = QMessageBox::Information;
        break;
    default:
        break;
    }
    QMessageBox(icon, QString::fromStdString(title), QString::fromStdString(prompt),
                QMessageBox::Ok, QApplication::activeWindow())
        .exec();
    return box::ok;
}

std::string QtInputBox::ask(const std::string& prompt, const std::string& title) {
    bool accepted = false;
    const QString text = QInputDialog::getText(
        QApplication::activeWindow(), QString::fromStdString(title), QString::fromStdString(prompt),
        QLineEdit::Normal, QString(), &accepted);
    return accepted ? text.toStdString() : std::string();
}

void QtMousePointer::set(Pointer pointer) {
    if (pointer == Pointer::Hourglass && !overridden_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        overridden_ = true;
    } else if (pointer == Pointer::Arrow && overridden_) {
        QApplication::restoreOverrideCursor();
        overridden_ = false;
    }
}

void QtEnder::endProgram() {
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace jorv
