// Telling a key's repeat from a new press by the release before it.
#include "heldkeys.h"

#include <QKeyEvent>

namespace jorv {

HeldKeys::HeldKeys(const std::vector<int>& keys, QObject* parent)
    : QObject(parent) {
    for (int key : keys)
        releasedAt_[key] = 0;
}

bool HeldKeys::eventFilter(QObject*, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyRelease && type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const auto released = releasedAt_.find(key->key());
    // Copies passed on by an accessibility bridge carry no time stamp; their
    // originals came by first.
    if (released == releasedAt_.end() || key->timestamp() == 0)
        return false;
    if (type == QEvent::KeyRelease) {
        released->second = key->timestamp();
        return false;
    }
    if (key->timestamp() != released->second)
        return false;
    event->accept();
    return true;
}

} // namespace jorv
