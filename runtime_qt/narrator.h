// What a window has a screen reader say, wherever the keyboard's focus is.
#pragma once

#include <QWidget>

#include <array>

namespace jorv {

// Empty notifications in a window, which appear in turn, each with one text:
// every text said here is announced anew, also the same text twice. Screen
// readers speak a notification as it appears, whichever object has the
// focus, where they leave the changes of a text that has no focus unspoken.
// A reader may ask for a notification's text some time after it appeared,
// so each keeps its text until seven more have been said. They take no room,
// no focus and no pointer, and are never shown.
class Narrator final {
public:
    explicit Narrator(QWidget* parent);
    void say(const QString& text);

private:
    std::array<QWidget*, 8> notifications_{};
    std::size_t next_ = 0;
};

} // namespace jorv
