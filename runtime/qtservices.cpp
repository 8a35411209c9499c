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
#include <vector>

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

void QtBeeper::beep() { QApplication::beep(); }

int QtMessageBox::show(const std::string& prompt, int style, const std::string& title) {
    QMessageBox message(QMessageBox::NoIcon, QString::fromStdString(title),
                        QString::fromStdString(prompt));
    switch (style & 0x70) {
    case box::critical: message.setIcon(QMessageBox::Critical); break;
    case box::question: message.setIcon(QMessageBox::Question); break;
    case box::exclamation: message.setIcon(QMessageBox::Warning); break;
    case box::information: message.setIcon(QMessageBox::Information); break;
    default: break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int result;
    };
    const Choice ok{QMessageBox::Ok, box::ok}, cancel{QMessageBox::Cancel, box::cancel},
        yes{QMessageBox::Yes, box::yes}, no{QMessageBox::No, box::no};
    std::vector<Choice> choices = {ok};
    switch (style & 0x0F) {
    case box::okCancel: choices = {ok, cancel}; break;
    case box::yesNo: choices = {yes, no}; break;
    default: break;
    }
    for (const Choice& c : choices)
        message.addButton(c.button);
    const auto pressed = static_cast<QMessageBox::StandardButton>(message.exec());
    for (const Choice& c : choices)
        if (c.button == pressed)
            return c.result;
    return choices.size() > 1 ? box::cancel : box::ok;
}

std::string QtInputBox::ask(const std::string& prompt, const std::string& title) {
    bool accepted = false;
    const QString text = QInputDialog::getText(nullptr, QString::fromStdString(title),
                                               QString::fromStdString(prompt), QLineEdit::Normal,
                                               QString(), &accepted);
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
