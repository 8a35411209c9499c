// Notifications that appear in turn, each with its text.
#include "narrator.h"

#include <QAccessibleWidget>

namespace jorv {

namespace {

class Notification final : public QWidget {
public:
    explicit Notification(QWidget* parent)
        : QWidget(parent) {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(0, 0, 0, 0);
        hide();
    }
};

QAccessibleInterface* notificationAccessible(const QString&, QObject* object) {
    if (auto* notification = dynamic_cast<Notification*>(object))
        return new QAccessibleWidget(notification, QAccessible::Notification);
    return nullptr;
}

} // namespace

Narrator::Narrator(QWidget* parent) {
    static const bool heard = (QAccessible::installFactory(notificationAccessible), true);
    Q_UNUSED(heard);
    for (QWidget*& notification : notifications_)
        notification = new Notification(parent);
}

void Narrator::say(const QString& text) {
    QWidget* notification = notifications_[next_];
    next_ = (next_ + 1) % notifications_.size();
    notification->setAccessibleName(text);
    QAccessibleEvent appeared(notification, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&appeared);
}

} // namespace jorv
