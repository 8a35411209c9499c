// A held key is one press, also where the X server's key repeat is not
// recognised as a repeat.
#pragma once

#include <QObject>

#include <cstdint>
#include <map>
#include <vector>

namespace jorv {

// Watches the keys of shortcuts that must not repeat; it must see the
// events before the application's event filters do (Application::watchFirst).
// Qt marks most repeats, and an action that does not auto-repeat ignores
// them; but an X server's repeat (a release and a press with one time stamp)
// that is not recognised in time comes as a press at the very moment of the
// key's release. That press is overridden, so it triggers no shortcut, and
// then dropped, so that no one passes it on as a new press: an accessibility
// bridge takes key events away, asks the screen readers about them and
// posts copies without time stamps, whose shortcuts would trigger.
class HeldKeys final : public QObject {
public:
    HeldKeys(const std::vector<int>& keys, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::map<int, std::uint64_t> releasedAt_;
};

} // namespace jorv
