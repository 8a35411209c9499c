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
    if (event->type() != QEvent::KeyRelease && event->type() != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const auto released = releasedAt_.find(key->key());
    if (released == releasedAt_.end())
        return false;
    if (event->type() == QEvent::KeyRelease) {
        released->second = key->timestamp();
        return false;
    }
    if (key->timestamp() == 0 || key->timestamp() != released->second)
        return false;
    event->accept();
    return true;
}

} // namespace jorv
