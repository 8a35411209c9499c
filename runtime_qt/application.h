// The program's application object, which lets one object see every event
// before the application's event filters do.
#pragma once

#include <QApplication>
#include <QPointer>

namespace jorv {

// Event filters installed on the application run last-installed first, and
// one that arrives later (an accessibility bridge that comes up when a
// screen reader starts) may take events away before an earlier one sees
// them. The watcher given here sees each event ahead of all of them.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);

    // From now on `watcher`'s eventFilter sees every event first; its true
    // drops the event. Under another application object it becomes an
    // ordinary application event filter.
    static void watchFirst(QObject* watcher);

protected:
    bool notify(QObject* receiver, QEvent* event) override;

private:
    QPointer<QObject> watcher_;
};

} // namespace jorv
