// Handing every event to the watcher before delivering it.
#include "application.h"

namespace jorv {

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv) {}

void Application::watchFirst(QObject* watcher) {
    if (auto* ours = dynamic_cast<Application*>(QCoreApplication::instance()))
        ours->watcher_ = watcher;
    else
        QCoreApplication::instance()->installEventFilter(watcher);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    if (watcher_ && watcher_->eventFilter(receiver, event))
        return true;
    return QApplication::notify(receiver, event);
}

} // namespace jorv
